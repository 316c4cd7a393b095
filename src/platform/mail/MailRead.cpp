#include "platform/mail/MailRead.h"

#include "platform/mail/GMimeSupport.h"
#include "platform/mail/MailLimits.h"
#include "platform/text/Cp932.h"
#include "platform/text/PageCharset.h"

#include <QFile>

namespace mail {
namespace {

QByteArray toCrLf(QByteArray text)
{
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    text.replace("\n", "\r\n");
    return text;
}

bool isAscii(const QByteArray &bytes)
{
    for (const char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

// A header's value: GMime unfolds it and decodes RFC 2047 words; raw ISO-2022-JP (escape
// sequences without encoded words) is decoded here.
QString headerValue(GMimeObject *object, const QString &name)
{
    GMimeHeaderList *list = g_mime_object_get_header_list(object);
    GMimeHeader *header = g_mime_header_list_get_header(list, name.toUtf8().constData());
    if (!header)
        return {};
    const char *raw = g_mime_header_get_raw_value(header);
    if (raw && QByteArrayView(raw).contains('\x1b')) {
        const GText unfolded(g_mime_utils_header_unfold(raw));
        return text::decodeCharset(QByteArray(unfolded.get()), "ISO-2022-JP").trimmed();
    }
    const char *value = g_mime_header_get_value(header);
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

// The first text/plain part that is not an attachment, depth first.
GMimePart *firstPlainText(GMimeObject *object)
{
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart *multipart = GMIME_MULTIPART(object);
        const int count = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < count; ++i)
            if (GMimePart *found = firstPlainText(g_mime_multipart_get_part(multipart, i)))
                return found;
        return nullptr;
    }
    if (!GMIME_IS_PART(object))
        return nullptr;
    GMimeContentType *type = g_mime_object_get_content_type(object);
    const bool plain = !type || g_mime_content_type_is_type(type, "text", "plain");
    if (!plain || g_mime_part_is_attachment(GMIME_PART(object)))
        return nullptr;
    return GMIME_PART(object);
}

struct PartText {
    QString text;
    QString invalidIn; // the charset the text was read in when some of its bytes are not valid in it
};

PartText partText(GMimePart *part)
{
    GMimeDataWrapper *content = g_mime_part_get_content(part);
    if (!content)
        return {};
    const GRef<GMimeStream> decoded(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, decoded.get());
    const GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(decoded.get()));
    const QByteArray data = toCrLf(QByteArray(reinterpret_cast<const char *>(bytes->data), qsizetype(bytes->len)));

    const char *named = g_mime_object_get_content_type_parameter(GMIME_OBJECT(part), "charset");
    QByteArray charset = named ? text::knownCharset(named) : QByteArray();
    QString label = named ? QString::fromLatin1(named).trimmed() : QString();
    if (charset.isEmpty()) {
        if (named && QByteArray(named).trimmed().toLower() != "us-ascii") {
            charset = named; // another charset iconv may know
        } else if (isAscii(data)) {
            charset = "ISO-2022-JP"; // Japanese mailers' default; plain ASCII reads the same
        } else {
            // 8-bit text that names no charset: UTF-8 when it is valid UTF-8, else Shift_JIS.
            if (const std::optional<QString> utf8 = text::decodeCharsetExactly(data, "UTF-8"))
                return {*utf8, {}};
            charset = "CP932";
            label.clear();
        }
    }
    if (const std::optional<QString> exact = text::decodeCharsetExactly(data, charset.constData()))
        return {*exact, {}};
    return {text::decodeCharset(data, charset.constData()), label.isEmpty() ? QString::fromLatin1(charset) : label};
}

} // namespace

sys::Result<MailContent> readMailFile(const QString &path, const QStringList &headerNames)
{
    using Read = sys::Result<MailContent>;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Read::failure(QStringLiteral("error: cannot open the mail file %1: %2").arg(path, file.errorString()));
    if (file.size() > kMaxMailBytes)
        return Read::failure(
            QStringLiteral("error: the mail file %1 is larger than %2 bytes").arg(path).arg(kMaxMailBytes));
    const QByteArray raw = file.readAll();
    initGMime();
    const GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(raw.constData(), size_t(raw.size())));
    const GRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    // The options outlive the message, whose headers may refer to them.
    const std::unique_ptr<GMimeParserOptions, decltype(&g_mime_parser_options_free)> options(
        g_mime_parser_options_new(), &g_mime_parser_options_free);
    const char *fallback[] = {"UTF-8", "CP932", "ISO-8859-1", nullptr};
    g_mime_parser_options_set_fallback_charsets(options.get(), fallback);
    const GRef<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), options.get()));
    if (!message || raw.trimmed().isEmpty())
        return Read::failure(QStringLiteral("error: the file %1 is not a mail").arg(path));
    MailContent content;
    GMimeObject *object = GMIME_OBJECT(message.get());
    for (const QString &name : headerNames)
        content.headers.push_back(headerValue(object, name));
    if (GMimeObject *top = g_mime_message_get_mime_part(message.get())) {
        if (GMimePart *part = firstPlainText(top)) {
            PartText text = partText(part);
            content.body = std::move(text.text);
            content.bodyInvalidIn = std::move(text.invalidIn);
        }
    }
    return content;
}

} // namespace mail
