#include "core/modRegistry.h"

#include "platform/sys/ProgramDir.h"
#include "platform/text/Format.h"

#include <cerrno>

namespace {
// The registry's code for a key that does not exist.
constexpr int kErrorFileNotFound = 2;

QString keyPath(const QString &rootKey, const QString &subKey)
{
    return rootKey + u'\\' + subKey;
}
} // namespace

QString settingsSubKey()
{
    return QStringLiteral("Software\\Pellan\\") + sys::exeName();
}

QString regGetString(const QString &rootKey, const QString &subKey, const QString &valueName)
{
    const std::optional<settings::Values> values = settings::readKey(keyPath(rootKey, subKey));
    if (!values)
        return QStringLiteral("(Error Code = %1)").arg(kErrorFileNotFound);
    return values->value(valueName);
}

int regSetString(const QString &rootKey, const QString &subKey, const QString &valueName, const QString &value)
{
    return regSetStrings(rootKey, subKey, {{valueName, value}});
}

int regSetStrings(const QString &rootKey, const QString &subKey, const settings::Values &values)
{
    return settings::writeValues(keyPath(rootKey, subKey), values);
}

QString getVersionNo()
{
    return text::formatZeroPadded(NIMBRA_VERSION_MAJOR, 2) + text::formatZeroPadded(NIMBRA_VERSION_MINOR, 2) +
           text::formatZeroPadded(NIMBRA_VERSION_PATCH, 4);
}

int setRegistryVersion(const QString &versionNo)
{
    return regSetString(HKEY_LOCAL_MACHINE, settingsSubKey(), QStringLiteral("Version"), versionNo);
}
