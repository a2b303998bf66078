# Writes the first LIMIT lines of a one-word-a-line list as a C++ string
# constant, for the frequency ranks compiled into the program:
#   cmake -DIN=list.txt -DOUT=list.inc -DNAME=kWords -DLIMIT=20000 -P embed_word_list.cmake
cmake_policy(SET CMP0007 NEW)
file(STRINGS "${IN}" words LIMIT_COUNT ${LIMIT} ENCODING UTF-8)
list(JOIN words "\n" text)
file(WRITE "${OUT}.tmp" "// Generated from ${IN}; one word a line, most frequent first.\n"
     "inline constexpr std::string_view ${NAME} = R\"words(${text}\n)words\";\n")
file(RENAME "${OUT}.tmp" "${OUT}")
