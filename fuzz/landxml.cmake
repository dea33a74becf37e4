# The LandXML alignment reader, seeded with its own small files and the files of the corpus.
merilon_add_fuzzer(NAME landxml SOURCES landxml.cpp
                   SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/landxml
                         ${CMAKE_SOURCE_DIR}/../shared/corpus/alignments/landxml
                   DICT ${CMAKE_CURRENT_SOURCE_DIR}/dict/landxml.dict)
