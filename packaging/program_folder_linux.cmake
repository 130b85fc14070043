# The Linux program folder: `cmake --install build/linux --prefix DIR` makes
# DIR a folder the program runs from, where the job finds its two tools
# beside it:
#   tosilk, tosilk-cli, ffmpeg (a link to Debian's), silk_v3_encoder and silk_v3_decoder
#   (ours, native), result/ (empty), licenses/,
#   share/applications/tosilk.desktop and share/icons/hicolor/*/apps/tosilk.png.
find_program(TOSILK_FFMPEG ffmpeg REQUIRED)

install(TARGETS tosilk tosilk-cli silk_v3_encoder silk_v3_decoder DESTINATION .)
install(DIRECTORY DESTINATION result)
install(DIRECTORY ${codec}/licenses/ DESTINATION licenses)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tosilk-LICENSE.txt DESTINATION licenses)
foreach(size 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/tosilk-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tosilk.png)
endforeach()
install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/install.sh DESTINATION .)
# The link and the desktop entry depend on where the folder ends up, which
# is known only when installing; install.sh makes them, as it does for a
# user who unpacked the release archive. DESTDIR, where given, is only where
# the folder is staged.
install(CODE "
  set(folder \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  execute_process(
    COMMAND sh \"\${folder}/install.sh\" --ffmpeg \"${TOSILK_FFMPEG}\"
            --as \"\${CMAKE_INSTALL_PREFIX}\"
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR \"install.sh failed in \${folder}\")
  endif()")
