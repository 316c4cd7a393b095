#include "platform/mail/MailSend.h"

#include "platform/mail/GMimeSupport.h"
#include "platform/net/CurlEasy.h"
#include "platform/net/OffThread.h"
#include "platform/sys/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>

namespace mail {
namespace {

// Header values are one line of printable text.
QString blankControls(QString value)
{
    for (QChar &c : value)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return value.trimmed();
}

bool isPlainAddress(const QString &address)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^[A-Za-z0-9.!#$%&'*+/=?^_`{|}~\-]+@[A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)*$)"));
    return form.match(address).hasMatch();
}

struct Mailbox {
    QString name;
    QString address;
};

// "Name <address>" or a bare address.
Mailbox parseMailbox(const QString &text)
{
    static const QRegularExpression named(QStringLiteral(R"(^(.*)<([^<>]*)>$)"));
    const QString line = blankControls(text);
    const QRegularExpressionMatch m = named.match(line);
    if (m.hasMatch())
        return {m.captured(1).trimmed(), m.captured(2).trimmed()};
    return {{}, line};
}

sys::Result<GRef<GMimeObject>> attachmentPart(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sys::Result<GRef<GMimeObject>>::failure(
            QStringLiteral("error: cannot read the attachment %1").arg(path));
    const QByteArray data = file.readAll();
    GMimePart *part = g_mime_part_new_with_type("application", "octet-stream");
    const GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(data.constData(), size_t(data.size())));
    const GRef<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.get());
    g_mime_part_set_filename(part, blankControls(QFileInfo(path).fileName()).toUtf8().constData());
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    return GRef<GMimeObject>(GMIME_OBJECT(part));
}

// The body as UTF-8 text/plain. Plain ASCII goes as 7bit lines (the writer gives them CR LF);
// anything else as base64 of its CR LF text, so no line end or byte is changed on the way.
GRef<GMimeObject> textPart(const QString &body)
{
    QByteArray utf8 = body.toUtf8();
    utf8.replace("\r\n", "\n");
    utf8.replace('\r', '\n');
    bool ascii = true;
    for (const char c : utf8)
        ascii = ascii && uchar(c) < 0x80;
    if (!ascii)
        utf8.replace("\n", "\r\n");
    GMimeTextPart *part = g_mime_text_part_new_with_subtype("plain");
    const GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(utf8.constData(), size_t(utf8.size())));
    const GRef<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(GMIME_PART(part), content.get());
    g_mime_text_part_set_charset(part, "utf-8");
    g_mime_part_set_content_encoding(GMIME_PART(part),
                                     ascii ? GMIME_CONTENT_ENCODING_7BIT : GMIME_CONTENT_ENCODING_BASE64);
    return GRef<GMimeObject>(GMIME_OBJECT(part));
}

struct Upload {
    QByteArray data;
    qsizetype at = 0;
};

size_t readUpload(char *buffer, size_t size, size_t count, void *source)
{
    Upload &upload = *static_cast<Upload *>(source);
    const size_t n = std::min(size * count, size_t(upload.data.size() - upload.at));
    std::memcpy(buffer, upload.data.constData() + upload.at, n);
    upload.at += qsizetype(n);
    return n;
}

sys::Status send(const QByteArray &url, const QByteArray &from, const QByteArray &to, const QByteArray &message,
                 std::chrono::milliseconds timeout)
{
    const net::CurlEasy curl(curl_easy_init());
    if (!curl)
        return sys::Status::failure(QStringLiteral("error: cannot start a connection"));
    CURL *h = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Upload upload{message};
    curl_slist *recipients = curl_slist_append(nullptr, to.constData());
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipientsOwner(recipients, &curl_slist_free_all);
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(timeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(timeout.count()));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    const CURLcode rc = curl_easy_perform(h);
    if (rc == CURLE_OK)
        return sys::Status::success();
    return sys::Status::failure(
        QStringLiteral("SMTP error: %1").arg(QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc))));
}

} // namespace

sys::Result<QByteArray> buildMessage(const QString &to, const QString &from, const QString &subject,
                                     const QString &body, const QString &attachments)
{
    using Built = sys::Result<QByteArray>;
    const Mailbox sender = parseMailbox(from);
    const QString recipient = blankControls(to);
    if (!isPlainAddress(sender.address))
        return Built::failure(QStringLiteral("error: the sender \"%1\" is not one plain address").arg(sender.address));
    if (!isPlainAddress(recipient))
        return Built::failure(QStringLiteral("error: the recipient \"%1\" is not one plain address").arg(recipient));
    initGMime();
    const GRef<GMimeMessage> message(g_mime_message_new(TRUE));
    g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_FROM, sender.name.toUtf8().constData(),
                               sender.address.toUtf8().constData());
    g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_TO, nullptr, recipient.toUtf8().constData());
    g_mime_message_set_subject(message.get(), blankControls(subject).toUtf8().constData(), "utf-8");
    const std::unique_ptr<GDateTime, decltype(&g_date_time_unref)> date(
        g_date_time_new_from_unix_local(sys::now().toSecsSinceEpoch()), &g_date_time_unref);
    g_mime_message_set_date(message.get(), date.get());
    const QString domain = sender.address.mid(sender.address.indexOf(u'@') + 1);
    const GText messageId(g_mime_utils_generate_message_id(domain.toUtf8().constData()));
    g_mime_message_set_message_id(message.get(), messageId.get());

    const GRef<GMimeObject> text = textPart(body);

    const QStringList paths = attachments.split(u'\t', Qt::SkipEmptyParts);
    if (paths.isEmpty()) {
        g_mime_message_set_mime_part(message.get(), text.get());
    } else {
        const GRef<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), text.get());
        for (const QString &path : paths) {
            const sys::Result<GRef<GMimeObject>> part = attachmentPart(path);
            if (!part.ok())
                return Built::failure(part.problem());
            g_mime_multipart_add(mixed.get(), part.value().get());
        }
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(mixed.get()));
    }
    GMimeFormatOptions *format = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(format, GMIME_NEWLINE_FORMAT_DOS);
    const GText wire(g_mime_object_to_string(GMIME_OBJECT(message.get()), format));
    g_mime_format_options_free(format);
    return QByteArray(wire.get());
}

sys::Status sendMail(const QString &serverUrl, const QString &to, const QString &from, const QString &subject,
                     const QString &body, const QString &attachments, std::chrono::milliseconds timeout)
{
    const sys::Result<QByteArray> message = buildMessage(to, from, subject, body, attachments);
    if (!message.ok())
        return sys::Status::failure(message.problem());
    const QByteArray envelopeFrom = '<' + parseMailbox(from).address.toUtf8() + '>';
    const QByteArray envelopeTo = '<' + blankControls(to).toUtf8() + '>';
    return net::offThreadResult(
        [&] { return send(serverUrl.toUtf8(), envelopeFrom, envelopeTo, message.value(), timeout); });
}

} // namespace mail
