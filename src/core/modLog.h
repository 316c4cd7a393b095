#pragma once

#include <QDate>
#include <QString>

// The program's log <ExeName>.log: one line per event, "yyyy/mm/dd hh:mm:ss,text" + CR LF.

// Sets gstrLogPath and gstrLogFile from the program directory and executable name.
void setLogPaths();

// Copies the existing log to its weekday copy (<ExeName><d>.log, d = 1 Sunday .. 7
// Saturday of the log's creation date), sets a log begun on an earlier day aside, and opens
// the log for appending. Returns the handle of the open log.
int openLog();

// Appends one line. Control characters of the text (line breaks, NUL, ESC, ...) and the
// invisible format characters (bidirectional controls, zero-width spaces and joiners, the
// soft hyphen, the byte-order mark) are written as visible escapes such as "\r\n", "\x1b",
// "\u202e" and "\u200b", and a backslash as "\\": a text from a page or a mail stays on its
// line as it is, and shows every character it holds.
void writeLog(int handle, const QString &text);
// Appends one line to the program's log, the one start-up opened (glngLogFileNo).
void writeProgramLog(const QString &text);
void closeLog(int handle);

// The day a log file was begun: the date of its first line, else its modification date.
// Linux keeps no reliable creation time, and the first line is written when the log begins.
QDate logCreationDate(const QString &path);

// 1 = Sunday ... 7 = Saturday, as the weekday digits of file names count.
int weekdayDigit(const QDate &day);
