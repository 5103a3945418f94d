# Warnings and sanitizers for every target of the project (not for third-party code).
add_library(kavex_options INTERFACE)
target_compile_options(kavex_options INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>)
target_compile_definitions(kavex_options INTERFACE QT_NO_KEYWORDS)
if(KAVEX_SANITIZE)
    target_compile_options(kavex_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(kavex_options INTERFACE -fsanitize=address,undefined)
endif()
