# The DXF text-record converter over the pair reader, seeded with the drawings of the corpus.
merilon_add_fuzzer(NAME dxf_text SOURCES dxf_text.cpp
                   SEEDS ${CMAKE_SOURCE_DIR}/../shared/corpus/dxf
                   DICT ${CMAKE_CURRENT_SOURCE_DIR}/dict/dxf.dict)
