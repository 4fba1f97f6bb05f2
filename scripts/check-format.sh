#!/usr/bin/env bash
# Checks that every C++ source of the project is laid out as .clang-format
# says; prints the files that are not. To lay them out:
#   bash scripts/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."
FORMAT=${CLANG_FORMAT:-clang-format-14}
if ! command -v "$FORMAT" >/dev/null; then
  echo "$FORMAT is missing (bash scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(find core widgets platform session study settings select shell help stats tools bench tests \
  -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
if [ "${1:-}" = --fix ]; then
  "$FORMAT" -i "${files[@]}"
  exit 0
fi
# One run over all files: each misplaced spot is reported as
# "file:line:col: error: ... [-Wclang-format-violations]".
status=0
report=$("$FORMAT" --dry-run --Werror "${files[@]}" 2>&1) || status=$?
mapfile -t bad < <(grep -F 'clang-format-violations' <<<"$report" | cut -d: -f1 | sort -u)
if [ "$status" -ne 0 ] && [ ${#bad[@]} -eq 0 ]; then
  echo "$FORMAT failed:" >&2
  echo "$report" >&2
  exit 1
fi
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not laid out as .clang-format says (bash scripts/check-format.sh --fix):"
  printf '   %s\n' "${bad[@]}"
  exit 1
fi
echo "${#files[@]} sources laid out as .clang-format says"
