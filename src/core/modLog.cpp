#include "core/modLog.h"

#include "core/modGlobal.h"
#include "core/modUtil.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Failure.h"
#include "platform/sys/FileOps.h"
#include "platform/sys/OwnerOnly.h"
#include "platform/sys/ProgramDir.h"
#include "platform/text/Format.h"

#include <QFile>
#include <QFileInfo>

#include <map>
#include <memory>

namespace {

std::map<int, std::unique_ptr<QFile>> &openLogs()
{
    static std::map<int, std::unique_ptr<QFile>> files;
    return files;
}

QString logFilePath()
{
    return gstrLogPath + gstrLogFile;
}

// A text from a page, a mail, a server or a file may hold line breaks, terminal controls
// and invisible format characters: the bidirectional controls (which change the direction
// or order in which a viewer shows the text after them), zero-width spaces and joiners,
// the soft hyphen, the byte-order mark. Each is written as a visible escape ("\r", "\n",
// "\t", "\x1b", "\u2028", "\u202e", "\u200b", "\U000e0041"), so no text can begin a line
// of its own, reach a terminal, turn the rest of its line around or hide a word inside
// another; a backslash of the text is doubled, so that it never reads as one of these escapes.
QString withVisibleControls(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t u : text.toUcs4()) {
        if (u == u'\\')
            out += QStringLiteral("\\\\");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u < 0x20 || u == 0x7F)
            out += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else if (u > 0xFFFF && QChar::category(u) == QChar::Other_Format)
            out += QStringLiteral("\\U%1").arg(uint(u), 8, 16, QLatin1Char('0'));
        else if (QChar::category(u) == QChar::Other_Control || QChar::category(u) == QChar::Other_Format ||
                 u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        else
            out += QString::fromUcs4(&u, 1);
    }
    return out;
}

} // namespace

void setLogPaths()
{
    gstrLogPath = sys::programDirectory();
    if (!gstrLogPath.endsWith(u'/'))
        gstrLogPath += u'/';
    gstrLogFile = sys::exeName() + QStringLiteral(".log");
}

int weekdayDigit(const QDate &day)
{
    return day.dayOfWeek() % 7 + 1; // Qt: Monday 1 .. Sunday 7
}

QDate logCreationDate(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray first = file.read(10);
        const QDate fromLine = QDate::fromString(QString::fromLatin1(first), QStringLiteral("yyyy/MM/dd"));
        if (fromLine.isValid())
            return fromLine;
    }
    return QFileInfo(path).lastModified().date();
}

int openLog()
{
    setLogPaths();
    const QString path = logFilePath();
    if (QFileInfo::exists(path)) {
        const QDate created = logCreationDate(path);
        const QString weekdayCopy =
            gstrLogPath + sys::exeName() + QString::number(weekdayDigit(created)) + QStringLiteral(".log");
        const bool copied = copyFile(path, weekdayCopy);
        // The old log goes only once its copy is safe; otherwise it is appended to.
        if (copied && created < sys::now().date())
            sys::deleteFile(path);
    }

    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append))
        throw sys::Failure(QStringLiteral("ログファイルを開けません: %1").arg(path));
    sys::makeOwnerOnly(path); // a log an earlier version began may be readable by others
    static int nextHandle = 0;
    const int handle = ++nextHandle;
    openLogs()[handle] = std::move(file);
    return handle;
}

void writeLog(int handle, const QString &text)
{
    const auto it = openLogs().find(handle);
    if (it == openLogs().end())
        return;
    const QString line =
        text::formatDateTimeSlash(sys::now()) + u',' + withVisibleControls(text) + QStringLiteral("\r\n");
    const QByteArray bytes = line.toUtf8();
    if (it->second->write(bytes) != bytes.size() || !it->second->flush())
        throw sys::Failure(QStringLiteral("ログファイルに書き込めません: %1").arg(it->second->fileName()));
}

void writeProgramLog(const QString &text)
{
    writeLog(glngLogFileNo, text);
}

void closeLog(int handle)
{
    openLogs().erase(handle);
}
