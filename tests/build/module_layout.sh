#!/usr/bin/env bash
# No drawing module includes another module's code: what both modules read (the stored job layout, the CAD helper
# library, the host) lives in a folder of its own. A nesting file that included the cutting-path module's folder
# tied the two modules' builds and releases together.
set -euo pipefail
root=$1
status=0
check() {  # check MODULE_FOLDER OTHER_FOLDER...
  local module=$1; shift
  for other in "$@"; do
    if hits=$(grep -rnE "#[[:space:]]*include[[:space:]]*\"$other/" "$root/$module" --include='*.cpp' --include='*.h'); then
      echo "$module includes the code of $other:" >&2
      echo "$hits" >&2
      status=1
    fi
  done
}
check laser nesting menuloader
check nesting laser menuloader
check menuloader laser nesting
check cadlib laser nesting menuloader
check storedjob laser nesting menuloader
check host laser nesting menuloader cadlib storedjob
exit $status
