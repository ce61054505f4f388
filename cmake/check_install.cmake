# Installs the build into a fresh temporary prefix and checks that the tree
# holds the program, the command-line tool, the help file, the sample history
# of each game, the desktop entry and its icon. Run by CTest with -DBUILD=<build folder>.
set(prefix "${BUILD}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

set(expected
  lib/mirkano/mirkano
  lib/mirkano/mirkano-cli
  lib/mirkano/mirkano-cli-update.so
  lib/mirkano/ミルカノ.chm
  lib/mirkano/Mirkano.mdb
  lib/mirkano/Mirkano7.mdb
  lib/mirkano/MirkanoMini.mdb
  lib/mirkano/translations/qtbase_ja.qm
  bin/mirkano
  bin/mirkano-cli
  share/applications/mirkano.desktop
  share/icons/hicolor/scalable/apps/mirkano.svg
  share/icons/hicolor/256x256/apps/mirkano.png
  share/icons/hicolor/48x48/apps/mirkano.png)
foreach(f IN LISTS expected)
  if(NOT EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "missing from the install tree: ${f}")
  endif()
endforeach()

# The entry starts the installed program and names the installed icon.
file(READ "${prefix}/share/applications/mirkano.desktop" entry)
foreach(line "Type=Application" "Name=ミルカノ" "Icon=mirkano" "Exec=${prefix}/bin/mirkano")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks \"${line}\"")
  endif()
endforeach()

# The installed tool reads each installed sample history as its game's.
foreach(sample "loto6|Mirkano.mdb" "loto7|Mirkano7.mdb" "miniloto|MirkanoMini.mdb")
  string(REPLACE "|" ";" fields "${sample}")
  list(GET fields 0 game)
  list(GET fields 1 db)
  execute_process(COMMAND "${prefix}/bin/mirkano-cli" tables --game ${game} --db "${prefix}/lib/mirkano/${db}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "installed mirkano-cli cannot read the sample history ${db}: ${out}${err}")
  endif()
  # Each sample history carries its prize data: the export has the prize columns.
  execute_process(COMMAND "${prefix}/bin/mirkano-cli" export --game ${game} --db "${prefix}/lib/mirkano/${db}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(FIND "${out}" "1等口数" at)
  if(NOT rc EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "the installed sample history ${db} has no prize data: ${err}")
  endif()
endforeach()
file(REMOVE_RECURSE "${prefix}")
