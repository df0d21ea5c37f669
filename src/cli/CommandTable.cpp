#include "cli/CommandTable.h"

#include "model/SlotKeys.h"

#include "cli/CalcCommand.h"
#include "cli/ChartCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/DbCommand.h"
#include "cli/ReportCommand.h"
#include "cli/SelectCommand.h"
#include "cli/SweepCommand.h"
#include "cli/VarsCommand.h"

namespace {

const char kIntroduction[] = R"(pipecalc-cli — расчёты трубопроводов из командной строки.

Использование:
)";

// What the help says after the commands: the options, which several
// commands share, the files and the exit statuses.
const char kReference[] = R"(Параметры:
  --project ФАЙЛ           calc, report, sweep, chart, select: открывает проект
                           программы (файл .pipecalc): вид расчёта, способ
                           прокладки, конструкцию стенки, выбранные материал,
                           трубу и грунт, изменённые исходные данные и
                           описание объекта (оно попадает в отчёт). Проект
                           применяется первым, затем --material,
                           --tube, --soil, затем --set; расчёт — тот, что назван
                           в команде; --laying и --wall, если заданы, сильнее
                           проекта. Материал, труба или грунт проекта, которых
                           нет в справочной базе или которые она называет
                           иначе, чем проект, — ошибка с кодом 10. Труба
                           ищется в базе по её размерам.
  --save-project ФАЙЛ      calc: записывает проект с исходными данными так, как
                           они заданы (до расчёта), — независимо от того,
                           выполнится ли расчёт. Прежний файл заменяется
                           целиком, только если новый записан полностью.
  --set KEY=VALUE          задаёт значение переменной; KEY — ключ переменной с
                           учётом регистра (Din, Dout, i_s, hs_d, m, M, ...),
                           VALUE — число с точкой, знаком и порядком (-1.5e3);
                           пробелы и переводы строк вокруг него не учитываются.
                           Изменения применяются по порядку.
  --laying trench|trenchless
                           способ прокладки стеклопластиковой трубы
                           (по умолчанию trench — траншейный).
  --wall single|three      конструкция стенки: однослойная или трёхслойная
                           (по умолчанию three).
  --tube N                 берёт трубу из справочной базы, как щелчок по строке
                           таблицы: N — номер строки (с 1) в таблице труб, а
                           для стеклопластикового материала — в таблице
                           стеклопластиковых труб этого материала.
  --material ID            calc: берёт материал с кодом ID, как щелчок по строке
                           таблицы материалов (в базе программы 1–3 и 6 —
                           полимеры, 4 — стеклопластик SN 5000, 5 — SN 10000);
                           db: код выбранного материала, от которого зависит
                           список стеклопластиковых труб (5 — трубы SN 10000,
                           любой другой — SN 5000).
  --soil ID                берёт грунт с кодом ID из справочной базы.
                           Строки из базы берутся раньше, чем применяются
                           --set, так что значения --set сильнее. Код или номер,
                           которого нет в базе, — ошибка в командной строке.
  --database PATH          справочная база данных (.sqlite или .mdb) вместо
                           Base/data.mdb или Base/data.sqlite из файлов
                           программы (см. «Файлы»); файл только читается.
  --decimal-separator SEP  десятичный разделитель в значениях и во всех числах
                           отчёта, постоянные формул включая: "," (по
                           умолчанию) или "."; от настроек системы не зависит.
  --json                   calc: печатает один объект JSON: "outcome" (completed,
                           stopped, division_by_zero, fault), "message" (текст,
                           который показала бы программа), "variable" (ключ
                           входной переменной, которую называет сообщение, или
                           null), "computing" (ключ величины, при вычислении
                           которой произошла ошибка, или null), "outputs" (ключи
                           выходных строк), "checks" (проверки статического
                           расчёта: name, title, value, limit, units,
                           utilisation — значение, делённое на предел, или null,
                           holds), "verdict" ("holds", "fails"; null для
                           гидравлического расчёта и невыполненного), "warnings"
                           (значения вне области применения метода: variable,
                           message; пустой массив, если их нет), "variables" (все %1 переменных по
                           порядку: slot, key, name, value, text, units; value
                           с 17 значащими цифрами или null), а для fiberglass
                           ещё "fiberglass" — все величины расчёта в СИ.
                           db: печатает массив объектов JSON, по объекту на
                           строку таблицы, с хранимыми значениями под именами
                           столбцов базы.
                           sweep: печатает объект JSON: "calculation",
                           "vary" (ключи изменяемых данных), "columns" и
                           "rows" — по объекту на точку: "inputs", "outcome",
                           "message", "variable", "computing" и "values"
                           (null, если расчёт в точке не выполнен).
                           select: печатает объект JSON: "kind" (расчёт) и
                           "rows" — по объекту на трубу: "tube" (номер, как
                           у --tube), "name", для static и fiberglass
                           "outcome", "verdict" ("holds", "fails" или
                           null), "utilisation" (наибольшее использование),
                           "governing" (определяющая проверка), "max_depth"
                           (м или null) и "checks" (использование каждой
                           проверки); для hydraulic ещё "flow" и
                           "max_filling", а в строках "filling", "velocity"
                           (null, если труба не пропускает расход) и
                           "holds".
  --vary KEY=FROM:TO:STEP  sweep: изменяемое исходное данное расчёта, его
                           начало, конец и шаг (числа с точкой; шаг может
                           быть отрицательным, если FROM > TO).
  --columns KEY,...        sweep: столбцы значений вместо выходных строк
                           расчёта; ключ исходного данного или результата
                           расчёта, а для static и fiberglass ещё
                           util_strength, util_stability,
                           util_stability_traffic (static), util_ovality
                           (fiberglass) — использование проверки, значение,
                           делённое на предел. По умолчанию — выходные
                           строки расчёта и использование его проверок.
  --csv                    sweep, select: CSV: строка заголовка из ключей,
                           десятичная точка, числа в самой короткой точной
                           записи; у невыполненной точки значения пусты;
                           текст с запятой — в кавычках.
  --flow Q                 select hydraulic: требуемый расход, л/с (больше 0).
  --max-filling F          select hydraulic: наибольшее допустимое наполнение
                           h/d, больше 0 и не больше 1 (по умолчанию 0.8).
  -o, --output ФАЙЛ        выходной файл команд report, chart и convert.
  --title ТЕКСТ            заголовок страниц PDF команды convert.
  --help                   эта справка.
  --version                версия программы.

Файлы:
  Base/data.mdb или Base/data.sqlite (справочная база данных) и шаблоны
  Templates/*.rtf ищутся по очереди: рядом с программой; в папке
  пользователя $XDG_DATA_HOME/pipecalc (по умолчанию ~/.local/share/pipecalc);
  в ../share/pipecalc относительно папки программы; в pipecalc каждой папки
  $XDG_DATA_DIRS (по умолчанию /usr/local/share и /usr/share). Берётся
  первый найденный файл, так что собственная база пользователя в
  ~/.local/share/pipecalc/Base/ важнее установленной.

Код завершения:
  0  расчёт выполнен;
  2  ошибка в командной строке (ничего не рассчитано);
  3  расчёт остановлен проверкой входных данных (chart: ни в одной точке
     графика, как и коды 4 и 5);
  4  деление на ноль;
  5  другая ошибка вычисления (например, недопустимая операция,
     переполнение или несошедшаяся итерация);
  6  справочная база данных не открывается, повреждена или слишком велика
     для чтения, или в ней не читается таблица;
  7  report: шаблон отчёта не открывается ("Не могу открыть файл шаблона
     отчёта.") или не читается;
  8  convert: входной файл не открывается или не читается ни как RTF,
     ни как текст ("Cannot open file ...", "Failed to Load Stream");
  9  report, chart, convert: выходной файл не записан ("Cannot create file ...",
     "Файл ... не записан. ..."), calc: не записан проект --save-project;
     любая команда: стандартный поток вывода или ошибок не принял данные
     (диск заполнен, поток закрыт); прежний файл при этом остаётся как был.
     Файл без права на запись не заменяется, как при ">" в оболочке.
     Устройство или канал (/dev/null, FIFO) получает данные на месте и не
     заменяется файлом; /dev/stdout, /dev/fd/N пишутся через сам поток.
  10 файл проекта --project не читается, повреждён, сохранён более новой
     версией программы, не является обычным файлом или называет материал,
     трубу или грунт, которых нет в справочной базе или которые она называет
     иначе ("Проект ... не открыт: ...").
Сообщения выводятся в стандартный поток ошибок.
)";

template <typename... Commands>
std::vector<std::unique_ptr<Command>> make()
{
    std::vector<std::unique_ptr<Command>> commands;
    (commands.push_back(std::make_unique<Commands>()), ...);
    return commands;
}

} // namespace

const std::vector<std::unique_ptr<Command>> &CommandTable::commands()
{
    // In the order of the help.
    static const std::vector<std::unique_ptr<Command>> table =
        make<VarsCommand, CalcCommand, DbCommand, ReportCommand, SweepCommand, ChartCommand, SelectCommand,
             ConvertCommand>();
    return table;
}

const Command *CommandTable::find(const QString &name)
{
    for (const auto &command : commands()) {
        if (command->name() == name)
            return command.get();
    }
    return nullptr;
}

QString CommandTable::helpText()
{
    QString text = QString::fromUtf8(kIntroduction);
    for (const auto &command : commands())
        text += command->usage() + command->help();
    return text + QString::fromUtf8(kReference).arg(SlotKeys::Count);
}
