# The playback half of the component: decoding, output, streams, pitch, spectrum and the
# feedback module host.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(OUT123 REQUIRED IMPORTED_TARGET libout123)
pkg_check_modules(SYN123 REQUIRED IMPORTED_TARGET libsyn123)
# libcurl: its header here, the library itself is loaded at the first stream (CurlLibrary).
pkg_check_modules(CURL REQUIRED libcurl)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3)
find_package(Threads REQUIRED)

list(APPEND XAUDIO_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BufferedFileReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CurlLibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FeedbackHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FftAnalyzer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HttpStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IcyMetadataStripper.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Mp3Decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputDevices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PitchShifter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlaybackEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoundOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XaudioPlayback.cpp
)
list(APPEND XAUDIO_LIBS
  PkgConfig::MPG123 PkgConfig::OUT123 PkgConfig::SYN123 PkgConfig::FFTW3 Threads::Threads ${CMAKE_DL_LIBS})
