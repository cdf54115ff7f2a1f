#!/usr/bin/env bash
# Prints the Debian mirror that this machine's apt sources name for its release (the first
# "deb" source of the release's own suite, not -updates or -security), as its URI: the one
# place the scripts learn where Debian's packages come from. Fails, saying so, where none is
# named.
#   debian-mirror.sh [suite]        (the suite is the machine's release unless given)
set -euo pipefail
suite=${1:-$(. /etc/os-release && echo "${VERSION_CODENAME:-}")}
[[ -n $suite ]] || { echo "debian-mirror.sh: this machine names no release" >&2; exit 1; }
shopt -s nullglob
# One-line sources: deb [options] URI suite components...
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [[ -f $list ]] || continue
  while read -r type rest; do
    [[ $type == deb ]] || continue
    [[ $rest == \[* ]] && rest=${rest#*] }
    read -r uri dist _ <<<"$rest"
    if [[ $dist == "$suite" ]]; then echo "${uri%/}"; exit 0; fi
  done <"$list"
done
# Deb822 sources: stanzas of Types, URIs, Suites.
for list in /etc/apt/sources.list.d/*.sources; do
  found=$(awk -v suite="$suite" '
    function done_stanza() {
      if (!found && types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && enabled != "no") {
        split(uris, u, " "); print u[1]; found = 1
      }
      types = uris = suites = enabled = ""
    }
    /^[[:space:]]*#/ { next }
    /^[[:space:]]*$/ { done_stanza(); next }
    { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ /, "")
      if (key == "types") types = $0; else if (key == "uris") uris = $0
      else if (key == "suites") suites = $0; else if (key == "enabled") enabled = tolower($0) }
    END { done_stanza() }' "$list")
  if [[ -n $found ]]; then echo "${found%/}"; exit 0; fi
done
echo "debian-mirror.sh: the apt sources name no mirror of $suite" >&2
exit 1
