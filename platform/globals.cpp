#include "platform/globals.h"

namespace kvx {

std::uint8_t LanguageEnglish = 0;
std::atomic<std::uint8_t> AbortRequested{0};
TIntlSeparators IntlSeparators;

}  // namespace kvx
