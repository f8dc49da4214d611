#!/usr/bin/env bash
# The scripts' two decisions about the machine: which Debian release it
# runs, and the deb-src entry that install-deps adds from its deb entry.
set -uo pipefail
lib=$(cd "$(dirname "$0")/../../scripts/lib" && pwd)
source "$lib/release.sh"
source "$lib/apt-sources.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
check() { # check <what> <expected> <actual>
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

# os-release contents -> the suite, or the refusal on stderr
while IFS='|' read -r what content expected; do
  printf '%b' "$content" >"$work/os-release"
  actual=$(release_suite "$work/os-release" 2>&1) && actual="ok $actual" || actual="no $actual"
  check "release: $what" "$expected" "$actual"
done <<'TABLE'
Debian 12|PRETTY_NAME="Debian GNU/Linux 12 (bookworm)"\nVERSION_ID="12"\nID=debian\n|ok bookworm
Debian 13|ID=debian\nVERSION_ID="13"\nVERSION_CODENAME=trixie\n|ok trixie
Debian 11|ID=debian\nVERSION_ID="11"\n|no this machine runs debian 11; Fusewright builds on Debian 12 (bookworm) or Debian 13 (trixie)
testing (no VERSION_ID)|ID=debian\nVERSION_CODENAME=forky\n|no this machine runs debian; Fusewright builds on Debian 12 (bookworm) or Debian 13 (trixie)
Ubuntu 24.04|ID=ubuntu\nID_LIKE=debian\nVERSION_ID="24.04"\n|no this machine runs ubuntu 24.04; Fusewright builds on Debian 12 (bookworm) or Debian 13 (trixie)
TABLE
actual=$(release_suite "$work/none" 2>&1) && actual="ok $actual" || actual="no $actual"
check "release: no os-release" "no this machine runs an unknown system; Fusewright builds on Debian 12 (bookworm) or Debian 13 (trixie)" "$actual"

# apt sources (file name, contents) and suite -> the deb-src stanza, or none
while IFS='|' read -r what file content suite expected; do
  rm -rf "$work/apt"; mkdir -p "$work/apt/sources.list.d"
  printf '%b' "$content" >"$work/apt/$file"
  actual=$(deb_src_stanza "$suite" "$work/apt" | paste -sd ';') || actual=none
  check "deb-src: $what" "$expected" "$actual"
done <<'TABLE'
one-line, bookworm|sources.list|deb http://mirror.example/debian bookworm main\n|bookworm|Types: deb-src;URIs: http://mirror.example/debian;Suites: bookworm;Components: main
one-line, trixie, signed-by|sources.list|# comment\ndeb [arch=amd64 signed-by=/k/t.gpg] http://m.example/d trixie main contrib\n|trixie|Types: deb-src;URIs: http://m.example/d;Suites: trixie;Components: main;Signed-By: /k/t.gpg
one-line, other suite only|sources.list|deb http://m.example/d bookworm main\n|trixie|none
one-line, no main|sources.list.d/x.list|deb http://m.example/d trixie contrib\n|trixie|none
deb822, bookworm|sources.list.d/debian.sources|Types: deb\nURIs: http://m.example/d\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\nTypes: deb\nURIs: http://s.example/sec\nSuites: bookworm-security\nComponents: main\n|bookworm|Types: deb-src;URIs: http://m.example/d;Suites: bookworm;Components: main;Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
deb822, trixie|sources.list.d/debian.sources|Types: deb\nURIs: http://m.example/d\nSuites: trixie trixie-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n|trixie|Types: deb-src;URIs: http://m.example/d;Suites: trixie;Components: main;Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
deb822, disabled|sources.list.d/debian.sources|Types: deb\nURIs: http://m.example/d\nSuites: trixie\nComponents: main\nEnabled: no\n|trixie|none
deb822, deb-src only|sources.list.d/debian.sources|Types: deb-src\nURIs: http://m.example/d\nSuites: trixie\nComponents: main\n|trixie|none
TABLE

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
