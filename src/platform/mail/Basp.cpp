#include "platform/mail/Basp.h"

#include "platform/text/PageCharset.h"

namespace mail {

QString Basp::kconv(const QByteArray &page, int siteCode, const QByteArray &contentType) const
{
    return text::decodePage(page, contentType, siteCode == kcEucJp ? "EUC-JP-MS" : "CP932");
}

} // namespace mail
