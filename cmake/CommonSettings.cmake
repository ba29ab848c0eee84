# One place for the language standard, the warnings and the strict Qt defines.
# Every target of the project links marvoxa_settings.
add_library(marvoxa_settings INTERFACE)
target_compile_features(marvoxa_settings INTERFACE cxx_std_20)
target_compile_options(marvoxa_settings INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
target_compile_definitions(marvoxa_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING)

if(MARVOXA_SANITIZE)
    target_compile_options(marvoxa_settings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(marvoxa_settings INTERFACE -fsanitize=address,undefined)
endif()

# Coverage feedback for libFuzzer in every library the fuzz targets link; the programs and tests
# link it too (the sanitizer runtimes provide its hooks).
if(MARVOXA_FUZZ)
    target_compile_options(marvoxa_settings INTERFACE -fsanitize=fuzzer-no-link)
    target_link_options(marvoxa_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()

set(CMAKE_CXX_EXTENSIONS OFF)
