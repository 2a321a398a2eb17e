# One place for the language level, warnings and the text-conversion guards every target shares.
add_library(marbello_common INTERFACE)
target_compile_features(marbello_common INTERFACE cxx_std_20)
# Includes name their layer: "core/cp936.h", "protocol/nmhttp.h".
target_include_directories(marbello_common INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(marbello_common INTERFACE -Wall -Wextra -Wpedantic)
if(MARBELLO_WERROR)
    target_compile_options(marbello_common INTERFACE -Werror)
endif()
# Every QString <-> bytes conversion must be spelled out: that is where CP936 mistakes hide.
target_compile_definitions(marbello_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_KEYWORDS)
if(MARBELLO_SANITIZE)
    target_compile_options(marbello_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(marbello_common INTERFACE -fsanitize=address,undefined)
endif()
if(MARBELLO_FUZZ)
    # Coverage for libFuzzer in every library the targets reach; the targets add the fuzzer itself.
    target_compile_options(marbello_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                     -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(marbello_common INTERFACE -fsanitize=address,undefined)
endif()
