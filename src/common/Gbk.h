// Lengths of texts in the Chinese code page GBK.
#pragma once

#include <QString>

namespace korv {

// Bytes the text takes in GBK: two for a Chinese character, one for a letter or blank, and one
// for each character GBK cannot hold (it would be written as "?").
int gbkByteLength(const QString &text);

}  // namespace korv
