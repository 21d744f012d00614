// GBK byte counts through glibc's iconv.
#include "common/Gbk.h"

#include <iconv.h>

#include <QByteArray>
#include <QList>
#include <cerrno>

namespace korv {

namespace {
// Converts UTF-8 to GBK; -1 when some character has no GBK form.
int convertedLength(const QByteArray &utf8)
{
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == iconv_t(-1))
        return -1;
    QByteArray in = utf8;
    QByteArray out(in.size() * 2 + 8, '\0');
    char *inp = in.data();
    char *outp = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return -1;
    return int(size_t(out.size()) - outLeft);
}
}  // namespace

int gbkByteLength(const QString &text)
{
    const int whole = convertedLength(text.toUtf8());
    if (whole >= 0)
        return whole;
    int total = 0;
    for (const uint codePoint : text.toUcs4()) {
        const int one = convertedLength(QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1).toUtf8());
        total += one > 0 ? one : 1;
    }
    return total;
}

}  // namespace korv
