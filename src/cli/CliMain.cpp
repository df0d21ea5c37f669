#include "cli/CliMain.h"

#include "cli/CalcCommand.h"
#include "cli/ChartCommand.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/DbCommand.h"
#include "cli/ExitCode.h"
#include "cli/ProjectFileError.h"
#include "cli/ReportCommand.h"
#include "cli/SelectCommand.h"
#include "cli/SweepCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/VarsCommand.h"
#include "model/MessageText.h"
#include "refdata/DatabaseError.h"

namespace {

const char kHelp[] = R"(pipecalc-cli — расчёты трубопроводов из командной строки.

Использование:
  pipecalc-cli vars [--set KEY=VALUE]... [--decimal-separator SEP] [--json]
      Печатает все 97 переменных: ключ, имя, значение, размерность, описание.

  pipecalc-cli calc hydraulic|static|fiberglass [--project ФАЙЛ]
                    [--set KEY=VALUE]... [--tube N] [--material ID] [--soil ID]
                    [--database PATH] [--laying trench|trenchless]
                    [--wall single|three] [--decimal-separator SEP] [--json]
                    [--save-project ФАЙЛ]
      Выполняет расчёт от значений по умолчанию (или от проекта) с заданными
      изменениями и печатает выходные строки расчёта (ключ, имя, значение,
      размерность) и итог; для статических расчётов — ещё каждую проверку
      с её использованием и итог проверок, для всех — предупреждения о
      значениях вне области применения метода (код завершения от них не
      меняется).
      hydraulic   — гидравлический расчёт (любой материал);
      static      — статический расчёт гофрированной трубы (полимерные
                    материалы; --material 4 и 5 — ошибка в командной строке);
      fiberglass  — статический расчёт стеклопластиковой трубы (материалы 4
                    и 5; report fiberglass требует --material 4 или 5).
      Если расчёт не выполнен, выходные значения не печатаются: только итог
      и сообщение, которое называет входную переменную.

  pipecalc-cli db tubes|fiberglass-tubes|materials|soils [--material ID]
                  [--database PATH] [--decimal-separator SEP] [--json]
      Печатает строки справочной таблицы так, как их показывает программа:
      tubes             — гофрированные трубы;
      fiberglass-tubes  — стеклопластиковые трубы выбранного материала;
      materials         — материалы труб;
      soils             — грунты.
  pipecalc-cli report hydraulic|static|fiberglass [--project ФАЙЛ]
                      [--set KEY=VALUE]... [--tube N] [--material ID] [--soil ID]
                      [--database PATH] [--laying trench|trenchless]
                      [--wall single|three] [--decimal-separator SEP] -o ФАЙЛ
      Выполняет расчёт, как calc, и составляет его отчёт по шаблону из папки
      Templates файлов программы (см. «Файлы»). Отчёт записывается по расширению ФАЙЛА:
      «.rtf» (и любое другое) — RTF, «.txt» — простой текст, «.pdf» —
      страницы отчёта формата A4 с эмблемой, линейкой и заголовком, как в
      предварительном просмотре, внизу каждой — «Страница N из M». Если
      расчёт не выполнен, ничего не записывается.

  pipecalc-cli sweep hydraulic|static|fiberglass --vary KEY=FROM:TO:STEP
                     [--vary KEY=FROM:TO:STEP]... [--columns KEY,...]
                     [параметры расчёта, как у calc] [--csv|--json]
      Выполняет расчёт при каждом сочетании значений изменяемых исходных
      данных и печатает по строке на сочетание: изменяемые данные, итог
      (completed, stopped, division_by_zero, fault) и значения столбцов.
      Каждая точка считается заново от исходных данных, заданных
      параметрами расчёта (--project, --material, --tube, --soil, --set,
      --laying, --wall, --database); изменяемые данные задаются поверх них. Значения
      FROM, FROM+STEP, ... до TO считаются в десятичной записи: 0.1:1:0.1 —
      ровно десять значений 0.1, 0.2, ..., 1. Первый --vary меняется
      медленнее всех. Больше 100000 строк — ошибка в командной строке.
      Если расчёт в точке не выполнен, её значения пусты: никогда не
      остаются от другой точки; такие точки — часть ответа, и код
      завершения остаётся 0.

  pipecalc-cli chart hydraulic|static|fiberglass [параметры расчёта] -o ФАЙЛ
      Рисует график расчёта, как на странице «График» программы, и
      записывает его в ФАЙЛ: «.svg» — SVG, «.png» — PNG. hydraulic —
      скорость и расход в зависимости от наполнения h/d от 0,05 до 1 с
      рабочей точкой; static и fiberglass — использование каждой проверки
      (значение, делённое на предел; 1 — предел) в зависимости от глубины
      заложения, с текущей глубиной. Точки, в которых расчёт не выполнен, не
      рисуются, о них говорится в стандартном потоке ошибок. Экран не нужен.

  pipecalc-cli select static|fiberglass [параметры расчёта] [--csv|--json]
  pipecalc-cli select hydraulic --flow Q [--max-filling F] [параметры расчёта]
                      [--csv|--json]
      Подбор трубы: рассчитывает каждую трубу справочника, как --tube N с
      теми же параметрами расчёта, и печатает по строке на трубу. static —
      трубы таблицы гофрированных труб, fiberglass — стеклопластиковые трубы
      материала (нужен --material 4 или 5 или материал проекта). Для каждой
      трубы: итог, проверки с их использованием, определяющая проверка,
      наибольшее использование и наибольшая глубина заложения (Htr, для
      fiberglass — h) от 0 до 30 м с шагом 1 см, на которой выполнены все
      проверки («нет», если такой нет). hydraulic — наполнение h/d, при
      котором труба пропускает расход Q (л/с) при текущем уклоне (с
      точностью 0,1 %), скорость при нём и подходит ли труба: наполнение не
      больше F (по умолчанию 0,8). Наименьшая подходящая труба отмечена.
      Если расчёт не выполняется ни для одной трубы, код завершения — как у
      calc.

  pipecalc-cli convert ВХОД -o ВЫХОД [--title ТЕКСТ]
      Читает документ ВХОД так, как его открывает редактор отчётов, и
      записывает в ВЫХОД так, как редактор сохраняет. Формат выбирается по
      расширению без учёта регистра: «.txt» — простой текст, «.pdf» —
      страницы отчёта под заголовком ТЕКСТ (по умолчанию заголовок
      гидравлического расчёта), любое другое расширение или его
      отсутствие — RTF. Если файл не читается в своём
      формате, он читается в другом (RTF как текст, текст как RTF). Текст
      читается как UTF-8 (метка порядка байтов или корректный UTF-8 с
      не-ASCII символами), иначе как Windows-1251; записывается в
      Windows-1251, а если в ней есть не все символы — в UTF-8 с меткой.
      Если RTF написан в кодовой странице, которую программа не умеет
      читать, текст в ней читается в близкой странице, и об этом
      выводится предупреждение в стандартный поток ошибок.

Параметры:
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
                           message; пустой массив, если их нет), "variables" (все 97 переменных по
                           порядку: slot, key, name, value, text, units; value
                           с 17 значащими цифрами или null), а для fiberglass
                           ещё "fiberglass" — все величины расчёта в СИ.
                           db: печатает массив объектов JSON, по объекту на
                           строку таблицы, с хранимыми значениями под именами
                           столбцов базы.
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
                           sweep: печатает объект JSON: "calculation",
                           "vary" (ключи изменяемых данных), "columns" и
                           "rows" — по объекту на точку: "inputs", "outcome",
                           "message", "variable", "computing" и "values"
                           (null, если расчёт в точке не выполнен).
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

} // namespace

int cliMain(const QStringList &argList)
{
    if (argList.isEmpty()) {
        Console::err(QString::fromUtf8(kHelp));
        return ExitCode::Usage;
    }
    try {
        if (argList.contains(QStringLiteral("--help")) || argList.first() == QLatin1String("help")
            || argList.first() == QLatin1String("-h")) {
            Console::out(QString::fromUtf8(kHelp));
            return 0;
        }
        if (argList.first() == QLatin1String("--version")) {
            Console::out(QStringLiteral("pipecalc-cli %1\n").arg(QStringLiteral(PIPECALC_VERSION)));
            return 0;
        }

        const QString command = argList.first();
        CliArgs args(argList.mid(1));
        if (command == QLatin1String("vars"))
            return VarsCommand::run(args);
        if (command == QLatin1String("calc"))
            return CalcCommand::run(args);
        if (command == QLatin1String("db"))
            return DbCommand::run(args);
        if (command == QLatin1String("report"))
            return ReportCommand::run(args);
        if (command == QLatin1String("convert"))
            return ConvertCommand::run(args);
        if (command == QLatin1String("sweep"))
            return SweepCommand::run(args);
        if (command == QLatin1String("chart"))
            return ChartCommand::run(args);
        if (command == QLatin1String("select"))
            return SelectCommand::run(args);
        throw UsageError(QStringLiteral("Неизвестная команда: %1").arg(command));
    } catch (const UsageError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\nСправка: pipecalc-cli --help\n").arg(error.message()));
        return ExitCode::Usage;
    } catch (const ProjectFileError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\n").arg(error.message()));
        return ExitCode::ProjectFile;
    } catch (const Console::Failure &failure) {
        Console::err(Console::failureText(failure.reason));
        return ExitCode::CannotWrite;
    } catch (const DatabaseError &error) {
        // The text the program shows: in the general error box for a
        // database that cannot be opened, in its own box for a table.
        const QString message = error.kind() == DatabaseError::Kind::Connection
                                    ? MessageText::withFullStop(error.message())
                                    : error.message();
        Console::err(QStringLiteral("pipecalc-cli: %1\n").arg(message));
        return ExitCode::Database;
    }
}
