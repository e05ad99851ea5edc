// The part of iconv that the DXF code uses, for Windows, where the C library has none: text
// between UTF-8 and the Windows code pages, named "UTF-8" or "CP" and the code page's number
// (CP949, CP1252), converted by the system's MultiByteToWideChar and WideCharToMultiByte.
// As with iconv, a byte sequence the source code page does not define, or a character the
// target code page cannot hold, stops the conversion there with EILSEQ.
#ifndef TWINFIND_WIN32_ICONV_H
#define TWINFIND_WIN32_ICONV_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

iconv_t iconv_open(const char* toCode, const char* fromCode);
size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft);
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif  // TWINFIND_WIN32_ICONV_H
