# `cmake --install` puts the program into bin/ and the window's module
# beside the libraries; `cpack` (in the build folder) makes a Debian package
# of them. The package's dependencies are the shared libraries the two link
# (the Qt 6 widget runtime with the window), as dpkg-shlibdeps finds them.
install(TARGETS makenc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET makenc_window)
  # The window's module, where the program looks for it.
  install(TARGETS makenc_window LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/makenc)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME makenc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "makenc developers <makenc@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NC programs (G-code) from the host CAD program's cutting drawings")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
if(MAKENC_WINDOW)
  # The window's labels are Japanese.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
endif()
include(CPack)
