#!/usr/bin/env bash
# The Windows program speaks Japanese where the user-interface language is
# Japanese and English under any other, as Windows picks its string tables.
# Wine takes the user-interface language from the locale; it has no C
# locale and takes C for US English.
# usage: texts_language.sh <wine-run.sh> <say_texts.exe>
set -euo pipefail
status=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
while IFS='|' read -r locale title usage; do
  # (The shell warns that this machine lacks the locale; Wine needs only the name.)
  said=$(LC_ALL=$locale "$1" "$2" 2>"$errors" | tr -d '\r' | paste -sd '|')
  if [[ "$said" != "$title|$usage"* ]]; then
    echo "LC_ALL=$locale: '$said', not '$title|$usage…'" >&2
    cat "$errors" >&2
    status=1
  fi
done <<'TABLE'
ja_JP.UTF-8|ファイルを選択して下さい。|使い方:
en_US.UTF-8|Select files|Usage:
de_DE.UTF-8|Select files|Usage:
C|Select files|Usage:
TABLE
exit $status
