#include "SmallFileSystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>

SmallFileSystem::SmallFileSystem(int kilobytes) : m_options(QStringLiteral("size=%1k").arg(kilobytes))
{
    if (!m_dir.isValid()) {
        m_whyNot = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray target = QFile::encodeName(m_dir.path());
    if (::mount("tmpfs", target.constData(), "tmpfs", 0, m_options.toLatin1().constData()) != 0) {
        m_whyNot = QStringLiteral("cannot mount a tmpfs here (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool SmallFileSystem::makeReadOnly()
{
    if (!m_mounted)
        return false;
    return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                   m_options.toLatin1().constData())
           == 0;
}
