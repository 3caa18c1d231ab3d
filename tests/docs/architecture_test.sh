#!/usr/bin/env bash
# Every file and function that docs/architecture.md names in backticks exists:
# a path (one with a slash or an extension) as a file or folder of the tree,
# found from the root or, for a short one like support/testhost.*, anywhere
# below it; a lower camel case name as a word of the sources. Placeholders
# such as <name>, built programs and anything else in backticks are left alone.
set -uo pipefail
root=${1:-$(dirname "$0")/../..}
cd "$root" || exit 2
page=docs/architecture.md
sources=(client velmo include tests tools gallery bench cmake CMakeLists.txt)
missing=0

exists() {
  compgen -G "$1" >/dev/null || [ -n "$(find . -path "*/$1" -print -quit 2>/dev/null)" ]
}

while IFS= read -r name; do
  case "$name" in
    *'<'*|*' '*|*.exe|*.dll) ;;
    */*|*.*)
      exists "${name%/}" || { echo "$page names $name, which is not in the tree"; missing=1; } ;;
    [a-z]*[A-Z]*)
      grep -rqw --include='*.cpp' --include='*.h' --include='*.c' --include='*.txt' --include='*.cmake' \
        -e "$name" "${sources[@]}" 2>/dev/null || { echo "$page names $name, which no source defines"; missing=1; } ;;
  esac
done < <(grep -o '`[^`]*`' "$page" | tr -d '`' | sort -u)
exit $missing
