# `cmake --install`: the program, its command-line tool, the help file and a
# sample history of each game go together into lib/mirkano (the program finds
# them beside itself), with links in bin/; a desktop entry and the program icon make it
# show in the desktop's application menu. Where the user cannot write to the
# program's folder, the program keeps the history in ~/.local/share/mirkano.
include(GNUInstallDirs)
set(MIRKANO_APP_DIR ${CMAKE_INSTALL_LIBDIR}/mirkano)

install(TARGETS mirkano-cli RUNTIME DESTINATION ${MIRKANO_APP_DIR})
# The update module sits beside the tool, which loads it from there.
install(TARGETS mirkano-cli-update LIBRARY DESTINATION ${MIRKANO_APP_DIR})
foreach(sample IN LISTS MIRKANO_SAMPLE_HISTORIES)
  string(REPLACE "|" ";" fields "${sample}")
  list(GET fields 0 game)
  list(GET fields 1 csv)
  list(GET fields 2 db)
  install(CODE "
    set(app \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${MIRKANO_APP_DIR}\")
    execute_process(COMMAND \"${CMAKE_COMMAND}\"
      -DCLI=$<TARGET_FILE:mirkano-cli> -DGAME=${game} -DCSV=${csv} -DDB=\${app}/${db}
      -P \"${CMAKE_SOURCE_DIR}/cmake/make_sample_history.cmake\" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR \"could not install the sample history ${db}\")
    endif()
  ")
endforeach()
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"../${MIRKANO_APP_DIR}/mirkano-cli\"
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/mirkano-cli\" SYMBOLIC)
")

if(MIRKANO_BUILD_GUI)
  install(TARGETS mirkano RUNTIME DESTINATION ${MIRKANO_APP_DIR})
  install(FILES ${MIRKANO_HELP_FILE} DESTINATION ${MIRKANO_APP_DIR})
  install(FILES ${MIRKANO_QT_TRANSLATION} DESTINATION ${MIRKANO_APP_DIR}/translations)
  install(FILES ${CMAKE_SOURCE_DIR}/src/gui/icons/mirkano.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/src/gui/icons/mirkano-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME mirkano.png)
  endforeach()
  # The entry names the program by its installed path, known only at install time.
  install(CODE "
    set(MIRKANO_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/mirkano\")
    configure_file(\"${CMAKE_SOURCE_DIR}/desktop/mirkano.desktop.in\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/mirkano.desktop\" @ONLY)
    file(CREATE_LINK \"../${MIRKANO_APP_DIR}/mirkano\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/mirkano\" SYMBOLIC)
  ")
endif()

# A Debian package of the same tree: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME mirkano)
set(CPACK_PACKAGE_CONTACT "mirkano")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Loto 6 statistics and prediction")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
