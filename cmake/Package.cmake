# `cpack -G DEB` (make package): vaultwing_<version>_<arch>.deb from what cmake/Install.cmake
# installs. No maintainer scripts: Debian's triggers refresh the MIME, desktop-entry and icon
# databases when files land in their folders.
set(CPACK_PACKAGE_NAME vaultwing)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vaultwing")
set(CPACK_PACKAGE_CONTACT "Vaultwing maintainers <maintainers@vaultwing.net>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # vaultwing_1.5.1_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.vaultwing.net/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password-based file encryption with a desktop drop zone")
# The long description, lines under 80 characters; CPack indents them and turns empty lines into " .".
set(CPACK_PACKAGE_DESCRIPTION "Vaultwing encrypts and decrypts files and whole folders with a password.
VWX is a small always-on-top drop zone with a tray icon: drop files or
folders on it, type a password, and every file becomes a .vwx file beside
it; .vwx files are decrypted back. The command vaultwing does the same in
a terminal.

The .vwx format is TEA in CBC mode keyed by the password, without key
stretching or an authentication code: it keeps casual readers out, it is
not a modern authenticated cipher.")
# Folders and files as Debian expects them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
