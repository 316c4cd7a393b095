#include "core/modRegistryGet.h"

#include "core/SettingsCatalogue.h"
#include "core/SettingsRecords.h"
#include "core/SettingsText.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistry.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"

namespace {

// Stores one value into its field; false when its text cannot be converted.
bool loadSetting(const SettingEntry &entry, const QString &stored)
{
    return std::visit(Overloaded{
                          [&](QString *field) {
                              *field = stored;
                              return true;
                          },
                          [&](int *field) {
                              std::optional<int> value;
                              if (entry.oneWhenEmpty)
                                  value = text::trimSpaces(stored).isEmpty() ? std::optional<int>(1)
                                                                             : parseWholeNumber(stored);
                              else
                                  value = leadingWholeNumber(stored);
                              if (value)
                                  *field = *value;
                              // A defaulted field cannot hold 0: stored 0 and missing read alike.
                              if (*field == 0 && entry.defaultValue != 0)
                                  *field = int(entry.defaultValue);
                              return value.has_value();
                          },
                          [&](double *field) {
                              *field = text::leadingNumber(stored);
                              if (*field == 0 && entry.defaultValue != 0)
                                  *field = entry.defaultValue;
                              return true;
                          },
                          [&](QDateTime *field) {
                              if (text::leadingNumber(stored) == 0) {
                                  *field = QDateTime(sys::now().date(), QTime(0, 0));
                                  return true;
                              }
                              const std::optional<QDateTime> value = parseSettingDate(stored);
                              if (value)
                                  *field = *value;
                              return value.has_value();
                          },
                      },
                      entry.field);
}

} // namespace

bool getRegistryAll()
{
    const QString subKey = settingsSubKey();
    bool allLoaded = true;
    int position = 0;
    for (const SettingEntry &entry : settingsLoadOrder()) {
        ++position;
        QString stored = regGetString(HKEY_LOCAL_MACHINE, subKey, entry.name);
        if (stored.contains(QStringLiteral("Error Code"))) // no settings stored yet
            stored.clear();
        if (!loadSetting(entry, stored)) {
            writeLog(glngLogFileNo,
                     QStringLiteral("レジストリエラー　コード=%1　設定=%2").arg(position).arg(entry.name));
            allLoaded = false;
        }
    }
    // Averaging down is off at every start, whatever was stored.
    sysOD.ODNanpin = 0;
    sysOD.ODNanpinKai = 1;
    return allLoaded;
}
