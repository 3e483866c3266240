# Writes a text file as a C++ string literal to include where an expression goes:
#   cmake -DINPUT=profiles/default_flight.txt -DOUTPUT=default_flight.inc -P cmake/embed_text.cmake
# The literal is a raw string, so the text stands as it is in the file.
file(READ "${INPUT}" text)
set(delimiter "tarn_text")
string(FIND "${text}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT}: the text holds the raw-string delimiter )${delimiter}\"")
endif()
file(WRITE "${OUTPUT}.tmp" "R\"${delimiter}(${text})${delimiter}\"\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
