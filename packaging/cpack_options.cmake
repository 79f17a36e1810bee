# Read by cpack for each package it makes. The Debian package installs into
# /usr; the portable tarball is a folder of its own with its libraries.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/")
  set(ENV{TORVANEL_BUNDLE_LIBRARIES} 1)
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  unset(ENV{TORVANEL_BUNDLE_LIBRARIES})
endif()
