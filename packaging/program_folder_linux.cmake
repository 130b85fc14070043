# The Linux program folder: `cmake --install build/linux --prefix DIR` makes DIR a
# folder the program runs from, where the job finds its two tools beside it:
#   tosilk, ffmpeg (a link to Debian's), silk_v3_encoder (a link into lib/),
#   lib/silk_encoder/ (our encoder with its node_modules), result/ (empty),
#   share/applications/tosilk.desktop and share/icons/hicolor/*/apps/tosilk.png.
find_program(TOSILK_FFMPEG ffmpeg REQUIRED)
set(encoder ${PROJECT_SOURCE_DIR}/tools/silk_encoder)

install(TARGETS tosilk DESTINATION .)
install(DIRECTORY DESTINATION result)
# A missing node_modules would only show up later, as an encoder that fails
# on every job; it is better said now.
install(CODE "
  if(NOT EXISTS \"${encoder}/node_modules/silk-wasm\")
    message(FATAL_ERROR \"${encoder}/node_modules is missing: run npm ci there (scripts/install-deps does)\")
  endif()")
install(PROGRAMS ${encoder}/silk_v3_encoder DESTINATION lib/silk_encoder)
install(FILES ${encoder}/silk_v3_encoder.mjs ${encoder}/package.json DESTINATION lib/silk_encoder)
install(DIRECTORY ${encoder}/node_modules DESTINATION lib/silk_encoder)
foreach(size 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/tosilk-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tosilk.png)
endforeach()
install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/install.sh DESTINATION .)
# The links and the desktop entry depend on where the folder ends up, which
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
