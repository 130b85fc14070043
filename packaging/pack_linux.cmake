# Stages the installed program folder as NAME under STAGE, without what
# install.sh makes on the user's machine (the ffmpeg link and the desktop
# entry, which name places there), and packs it into ARCHIVE.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${STAGE}")
set(folder "${STAGE}/${NAME}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${folder}" --strip
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "installing into ${folder} failed")
endif()
file(REMOVE "${folder}/ffmpeg" "${folder}/share/applications/tosilk.desktop")
get_filename_component(dist "${ARCHIVE}" DIRECTORY)
file(MAKE_DIRECTORY "${dist}")
file(REMOVE "${ARCHIVE}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${ARCHIVE}" "${NAME}"
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "packing ${ARCHIVE} failed")
endif()
