#include "cli/CliMain.h"

#include "cli/CalcCommand.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/ConvertCommand.h"
#include "cli/VarsCommand.h"

namespace {

const char kHelp[] = R"(pipecalc-cli — расчёты трубопроводов из командной строки.

Использование:
  pipecalc-cli vars [--set KEY=VALUE]... [--decimal-separator SEP] [--json]
      Печатает все 97 переменных: ключ, имя, значение, размерность, описание.

  pipecalc-cli calc hydraulic|static|fiberglass [--set KEY=VALUE]...
                    [--laying trench|trenchless] [--wall single|three]
                    [--decimal-separator SEP] [--json]
      Выполняет расчёт от значений по умолчанию с заданными изменениями и
      печатает выходные строки расчёта (ключ, имя, значение, размерность) и итог.
      hydraulic   — гидравлический расчёт;
      static      — статический расчёт гофрированной трубы;
      fiberglass  — статический расчёт стеклопластиковой трубы.

  pipecalc-cli convert ВХОД -o ВЫХОД
      Читает документ ВХОД так, как его открывает редактор отчётов, и
      записывает в ВЫХОД так, как редактор сохраняет. Формат выбирается по
      расширению без учёта регистра: «.txt» — простой текст, любое другое
      расширение или его отсутствие — RTF. Если файл не читается в своём
      формате, он читается в другом (RTF как текст, текст как RTF). Текст
      читается как UTF-8 (метка порядка байтов или корректный UTF-8 с
      не-ASCII символами), иначе как Windows-1251; записывается в
      Windows-1251, а если в ней есть не все символы — в UTF-8 с меткой.

Параметры:
  --set KEY=VALUE          задаёт значение переменной; KEY — ключ переменной с
                           учётом регистра (Din, Dout, i_s, hs_d, m, M, ...),
                           VALUE — число с точкой, знаком и порядком (-1.5e3).
                           Изменения применяются по порядку.
  --laying trench|trenchless
                           способ прокладки стеклопластиковой трубы
                           (по умолчанию trench — траншейный).
  --wall single|three      конструкция стенки: однослойная или трёхслойная
                           (по умолчанию three).
  --decimal-separator SEP  десятичный разделитель в значениях (по умолчанию ",");
                           от настроек системы не зависит.
  --json                   печатает один объект JSON: "outcome" (completed,
                           stopped, division_by_zero, fault), "message" (текст,
                           который показала бы программа), "outputs" (ключи
                           выходных строк), "variables" (все 97 переменных по
                           порядку: slot, key, name, value, text, units; value
                           с 17 значащими цифрами или null), а для fiberglass
                           ещё "fiberglass" — все величины расчёта в СИ.
  -o, --output ФАЙЛ        выходной файл команды convert.
  --help                   эта справка.

Код завершения:
  0  расчёт выполнен (convert: файл записан);
  2  ошибка в командной строке (ничего не рассчитано);
  3  расчёт остановлен проверкой входных данных;
  4  деление на ноль;
  5  другая ошибка вычисления (например, недопустимая операция,
     переполнение или несошедшаяся итерация);
  8  convert: входной файл не открывается или не читается ни как RTF,
     ни как текст ("Cannot open file ...", "Failed to Load Stream");
  9  convert: выходной файл не записан ("Cannot create file ...",
     "Failed to Save Stream"); прежний файл при этом не портится.
Сообщения выводятся в стандартный поток ошибок.
)";

} // namespace

int cliMain(const QStringList &argList)
{
    if (argList.isEmpty()) {
        Console::err(QString::fromUtf8(kHelp));
        return CalcCommand::ExitUsage;
    }
    if (argList.contains(QStringLiteral("--help")) || argList.first() == QLatin1String("help")
        || argList.first() == QLatin1String("-h")) {
        Console::out(QString::fromUtf8(kHelp));
        return 0;
    }

    const QString command = argList.first();
    CliArgs args(argList.mid(1));
    try {
        if (command == QLatin1String("vars"))
            return VarsCommand::run(args);
        if (command == QLatin1String("calc"))
            return CalcCommand::run(args);
        if (command == QLatin1String("convert"))
            return ConvertCommand::run(args);
        throw UsageError(QStringLiteral("Неизвестная команда: %1").arg(command));
    } catch (const UsageError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\nСправка: pipecalc-cli --help\n").arg(error.message()));
        return CalcCommand::ExitUsage;
    }
}
