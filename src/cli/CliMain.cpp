#include "cli/CliMain.h"

#include "cli/CalcCommand.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
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
  --help                   эта справка.

Код завершения:
  0  расчёт выполнен;
  2  ошибка в командной строке (ничего не рассчитано);
  3  расчёт остановлен проверкой входных данных;
  4  деление на ноль;
  5  другая ошибка вычисления (например, недопустимая операция,
     переполнение или несошедшаяся итерация).
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
        throw UsageError(QStringLiteral("Неизвестная команда: %1").arg(command));
    } catch (const UsageError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\nСправка: pipecalc-cli --help\n").arg(error.message()));
        return CalcCommand::ExitUsage;
    }
}
