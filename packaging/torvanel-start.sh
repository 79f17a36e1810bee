#!/bin/sh
# Starts the show from this unpacked folder, wherever it is called from (a
# symbolic link to this script included). The programs find their data and
# their own libraries from where they lie.
here=$(dirname "$(readlink -f "$0")")
exec "$here/games/torvanel" "$@"
