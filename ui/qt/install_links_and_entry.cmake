# Run by `cmake --install` after the files of the program folder are in
# place: makes the two links the job needs and the desktop entry, which must
# name the folder's final place, CMAKE_INSTALL_PREFIX. DESTDIR, where given,
# is only where the folder is staged.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# Debian's ffmpeg is linked rather than copied, so that it keeps getting
# Debian's fixes and finds its own libraries.
file(CREATE_LINK "${TOSILK_FFMPEG}" "${folder}/ffmpeg" SYMBOLIC)
# Relative, so that the folder still works when moved as a whole; the
# launcher finds its .mjs and node_modules through its real location.
file(CREATE_LINK "lib/silk_encoder/silk_v3_encoder" "${folder}/silk_v3_encoder" SYMBOLIC)
message(STATUS "Linked: ${folder}/ffmpeg -> ${TOSILK_FFMPEG}")

# Desktop entry values are strings, whose reader turns "\\" into "\" before
# Exec's own quoting is read; Exec quotes its path, escapes the characters
# that mean something inside the quotes, and reads "%" as a field code.
function(desktop_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
function(desktop_exec program out)
  foreach(reserved "\\" "\"" "`" "$")
    string(REPLACE "${reserved}" "\\${reserved}" program "${program}")
  endforeach()
  desktop_string("${program}" program)
  string(REPLACE "%" "%%" program "${program}")
  set(${out} "\"${program}\"" PARENT_SCOPE)
endfunction()

desktop_exec("${CMAKE_INSTALL_PREFIX}/tosilk" exec)
desktop_string("${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/256x256/apps/tosilk.png" icon)
set(entry "${folder}/share/applications/tosilk.desktop")
# The icon is named by its full path: the folder may lie anywhere, and only
# icons under the standard data folders can be found by name alone.
file(WRITE "${entry}" "[Desktop Entry]
Type=Application
Name=tosilk
Name[zh_CN]=SILK 语音编码器
Comment=Encode an audio file as a SILK v3 voice file
Comment[zh_CN]=把音频文件编码为 SILK v3 语音文件
Exec=${exec}
Icon=${icon}
Terminal=false
Categories=AudioVideo;Audio;
StartupWMClass=tosilk
")
message(STATUS "Installing: ${entry}")
