# The analyser half of the component: a full walk over an MPEG audio file's frames. The tag texts
# of its record come from the tag reader that the program hands it (TagTextSource).
list(APPEND XAUDIO_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AudioRegion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MpegFrameHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MpegStreamScanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XaudioAnalyzer.cpp
)
