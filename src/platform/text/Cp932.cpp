#include "platform/text/Cp932.h"

#include <QList>

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace text {
namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle openConverter(const char *to, const char *from)
{
    const iconv_t cd = iconv_open(to, from);
    return IconvHandle(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Runs iconv over the whole input; on an unconvertible or invalid sequence it writes
// the replacement, skips `skip` input bytes and counts the sequence in `replaced`.
QByteArray convert(iconv_t cd, const QByteArray &input, const QByteArray &replacement, size_t skip, qsizetype &replaced)
{
    QByteArray output;
    output.reserve(input.size() * 2 + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    char buffer[4096];
    while (inLeft > 0) {
        char *out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<qsizetype>(out - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            output.append(replacement);
            ++replaced;
            const size_t step = std::min(skip, inLeft);
            in += step;
            inLeft -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr); // reset shift state
        }
    }
    char *out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &out, &outLeft); // flush shift sequences
    output.append(buffer, static_cast<qsizetype>(out - buffer));
    return output;
}

// Decodes with U+FFFD for each invalid sequence, counted in `replaced`; std::nullopt when iconv
// does not know the charset.
std::optional<QString> decodeReplacing(const QByteArray &bytes, const char *charset, qsizetype &replaced)
{
    const IconvHandle cd = openConverter("UTF-8", charset);
    if (!cd)
        return std::nullopt;
    return QString::fromUtf8(convert(cd.get(), bytes, QByteArrayLiteral("\xEF\xBF\xBD"), 1, replaced));
}

} // namespace

QByteArray encodeCharset(const QString &s, const char *charset)
{
    const IconvHandle cd = openConverter(charset, "UTF-32LE");
    if (!cd)
        return s.toLatin1();
    const QList<uint> ucs4 = s.toUcs4();
    const QByteArray input(reinterpret_cast<const char *>(ucs4.constData()), ucs4.size() * qsizetype(sizeof(uint)));
    qsizetype replaced = 0;
    return convert(cd.get(), input, QByteArrayLiteral("?"), 4, replaced);
}

QByteArray toCp932(const QString &s)
{
    return encodeCharset(s, "CP932");
}

QString decodeCharset(const QByteArray &bytes, const char *charset)
{
    qsizetype replaced = 0;
    const std::optional<QString> decoded = decodeReplacing(bytes, charset, replaced);
    return decoded ? *decoded : QString::fromUtf8(bytes);
}

std::optional<QString> decodeCharsetExactly(const QByteArray &bytes, const char *charset)
{
    qsizetype replaced = 0;
    std::optional<QString> decoded = decodeReplacing(bytes, charset, replaced);
    if (replaced > 0)
        return std::nullopt;
    return decoded;
}

QString fromCp932(const QByteArray &bytes)
{
    return decodeCharset(bytes, "CP932");
}

int cp932ByteLength(const QString &s)
{
    return static_cast<int>(toCp932(s).size());
}

} // namespace text
