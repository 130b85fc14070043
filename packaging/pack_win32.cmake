# Stages NAME under STAGE and packs it into the zip ARCHIVE: the PROGRAMS
# ("|" between them) side by side, an empty result folder, 使用说明.txt made
# from NOTES, and licenses/ holding the files of LICENSES ("|" between them;
# a folder stands for the files in it).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${STAGE}")
set(folder "${STAGE}/${NAME}")
file(MAKE_DIRECTORY "${folder}/result" "${folder}/licenses")
string(REPLACE "|" ";" programs "${PROGRAMS}")
file(COPY ${programs} DESTINATION "${folder}")
string(REPLACE "|" ";" licenses "${LICENSES}")
foreach(license IN LISTS licenses)
  if(IS_DIRECTORY "${license}")
    file(GLOB license "${license}/*")
  endif()
  file(COPY ${license} DESTINATION "${folder}/licenses")
endforeach()

# Notepad reads text best, in every version of Windows, as UTF-8 with a
# byte-order mark and CRLF line ends.
file(READ "${NOTES}" text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE "${folder}/使用说明.txt" "${bom}${text}")

get_filename_component(dist "${ARCHIVE}" DIRECTORY)
file(MAKE_DIRECTORY "${dist}")
file(REMOVE "${ARCHIVE}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ARCHIVE}" --format=zip "${NAME}"
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "packing ${ARCHIVE} failed")
endif()
