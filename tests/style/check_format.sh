#!/usr/bin/env bash
# Fails when clang-format, with the project's .clang-format, would change a
# tracked C++ file of src/, sim/, tests/ or bench/, and names each such file.
# Usage: check_format.sh [source folder] [--fix]; --fix rewrites the files.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'sim/*.cpp' 'sim/*.h' \
  'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
[ ${#files[@]} -gt 0 ] || { echo "style: no tracked C++ files (not a git work tree?)" >&2; exit 1; }
if [ "${2:-}" = --fix ]; then
  printf '%s\0' "${files[@]}" | xargs -0 clang-format --style=file -i
  exit 0
fi
report=$(printf '%s\0' "${files[@]}" | xargs -0 clang-format --style=file --dry-run --Werror 2>&1) && {
  echo "style: ${#files[@]} files, as clang-format writes them"
  exit 0
}
echo "style: clang-format would change these files (places per file):"
grep -o '^[^: ]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | uniq -c || echo "$report"
echo "style: reformat with: tests/style/check_format.sh . --fix"
exit 1
