/* Stands in for the Windows build of ICU's converter header, which libxml2's headers include:
   the two types they name, so that the Windows syntax check compiles against Debian's libxml2. */
#pragma once

#ifdef __cplusplus
typedef char16_t UChar;
#else
#include <stdint.h>
typedef uint16_t UChar;
#endif

typedef struct UConverter UConverter;
