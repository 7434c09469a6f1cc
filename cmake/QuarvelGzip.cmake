# quarvel_gzip(FILE RESULT): compresses FILE (a file of the build tree) into FILE.gz at build time
# with gzip -9n, as Debian packages keep manual pages and changelogs (no name or date inside, so
# the package builds reproducibly). RESULT names the file to install: FILE.gz, or FILE itself
# where gzip is missing.
find_program(GZIP_PROGRAM gzip)
function(quarvel_gzip file result)
  if(NOT GZIP_PROGRAM)
    set(${result} ${file} PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${GZIP_PROGRAM} -9nf -k ${file}
    DEPENDS ${file}
    COMMENT "Compressing ${name}")
  set(${result} ${file}.gz PARENT_SCOPE)
endfunction()
