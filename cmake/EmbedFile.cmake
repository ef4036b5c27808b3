# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedFile.cmake
# Writes a C++ source that defines `const unsigned char <SYMBOL>_bytes[]` with
# the input's bytes and `const std::size_t <SYMBOL>_size`. The bytes are in the
# source itself, so a compiler cache sees every change of the input.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.new
    "// Generated from ${INPUT}: do not edit.\n#include <cstddef>\n"
    "extern const unsigned char ${SYMBOL}_bytes[] = {\n${bytes}0};\n"
    "extern const std::size_t ${SYMBOL}_size = ${size};\n")
file(RENAME ${OUTPUT}.new ${OUTPUT})
