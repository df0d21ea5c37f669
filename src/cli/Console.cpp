#include "cli/Console.h"

#include <cstdio>

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::out(const QString &text)
{
    write(stdout, text);
}

void Console::err(const QString &text)
{
    write(stderr, text);
}
