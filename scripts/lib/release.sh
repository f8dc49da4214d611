# Sourced by the scripts that depend on the Debian release: which release
# this machine runs, and the few package names that differ between them.

# The supported releases, as "VERSION_ID:SUITE".
supported_releases="12:bookworm 13:trixie"

# release_suite [os-release file]: prints the suite of the Debian release the
# file names (bookworm, trixie); prints one line naming the supported
# releases on stderr and fails for any other system.
release_suite() {
  local file=${1:-/etc/os-release} id= version= pair
  if [ -r "$file" ]; then
    id=$(. "$file" && echo "${ID:-}")
    version=$(. "$file" && echo "${VERSION_ID:-}")
  fi
  for pair in $supported_releases; do
    if [ "$id" = debian ] && [ "$version" = "${pair%%:*}" ]; then
      echo "${pair#*:}"
      return 0
    fi
  done
  echo "this machine runs ${id:-an unknown system}${version:+ $version}; Fusewright builds on Debian 12 (bookworm) or Debian 13 (trixie)" >&2
  return 1
}

# release_number SUITE: prints 12 or 13.
release_number() {
  local pair
  for pair in $supported_releases; do
    [ "${pair#*:}" = "$1" ] && { echo "${pair%%:*}"; return 0; }
  done
  return 1
}

# runtime_libraries SUITE: the packages of the libraries the program's own
# avrdude links, as the release names them (13 added t64 to two of them).
runtime_libraries() {
  case $1 in
    bookworm) echo "libusb-0.1-4 libusb-1.0-0 libftdi1 libhidapi-libusb0 libelf1 libreadline8" ;;
    trixie) echo "libusb-0.1-4 libusb-1.0-0 libftdi1 libhidapi-libusb0 libelf1t64 libreadline8t64" ;;
  esac
}
