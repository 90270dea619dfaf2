#!/usr/bin/env bash
# --help speaks the user's language, read from the environment as the
# program reads it: Japanese under a Japanese locale, the C locale or none;
# English under any other. usage: help_language.sh <kestrafon>
set -euo pipefail
status=0
# "-": the variable is not set.
while read -r all messages lang first; do
  vars=()
  [ "$all" = - ] || vars+=("LC_ALL=$all")
  [ "$messages" = - ] || vars+=("LC_MESSAGES=$messages")
  [ "$lang" = - ] || vars+=("LANG=$lang")
  said=$(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG "${vars[@]}" "$1" --help | head -n 1)
  if [[ "$said" != "$first"* ]]; then
    echo "${vars[*]}: '$said', not '$first…'" >&2
    status=1
  fi
done <<'TABLE'
- - ja_JP.UTF-8 使い方:
- - C 使い方:
- - C.UTF-8 使い方:
- - - 使い方:
- - en_US.UTF-8 Usage:
- - de_DE.UTF-8 Usage:
ja_JP.UTF-8 - en_US.UTF-8 使い方:
- en_US.UTF-8 ja_JP.UTF-8 Usage:
TABLE
exit $status
