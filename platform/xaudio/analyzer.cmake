# The analyser half of the component: a full walk over an MPEG audio file's frames and its tag
# texts. It reads the tags with the program's own ID3 engine.
list(APPEND XAUDIO_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AudioRegion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MpegStreamScanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XaudioAnalyzer.cpp
)
list(APPEND XAUDIO_LIBS quarvel_core)
