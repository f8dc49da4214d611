# Sourced by the scripts that read the machine's own apt sources.

# main_entries TYPE SUITE [APT_DIR]: prints "URIS|SIGNED-BY" for each enabled
# entry of TYPE (deb or deb-src) that carries SUITE main, from one-line
# sources.list files and deb822 .sources files under APT_DIR (/etc/apt).
main_entries() {
  local f dir=${3:-/etc/apt} apt_lists=()
  for f in "$dir"/sources.list "$dir"/sources.list.d/*.list "$dir"/sources.list.d/*.sources; do
    [ -f "$f" ] && apt_lists+=("$f")
  done
  awk -v want="$1" -v suite="$2" '
    function flush() {
      if (types ~ "(^| )" want "( |$)" && suites ~ "(^| )" suite "( |$)" &&
          comps ~ /(^| )main( |$)/ && enabled !~ /^[Nn]o/) print uris "|" signed
      types = suites = comps = uris = signed = enabled = ""
    }
    FILENAME ~ /\.sources$/ {
      if (FILENAME != last) { flush(); last = FILENAME }
      if ($0 ~ /^[[:space:]]*$/) { flush(); next }
      if ($0 ~ /^(#|[[:space:]])/) next
      key = tolower($1); sub(/^[^:]*:[[:space:]]*/, "")
      if (key == "types:") types = $0
      else if (key == "uris:") uris = $0
      else if (key == "suites:") suites = $0
      else if (key == "components:") comps = $0
      else if (key == "signed-by:") signed = $0
      else if (key == "enabled:") enabled = $0
      next
    }
    $1 == want {
      flush(); opts = ""; i = 2
      if ($2 ~ /^\[/) { while (i <= NF) { opts = opts " " $i; if ($i ~ /\]$/) break; i++ }; i++ }
      if (match(opts, /signed-by=[^] ]*/)) signed = substr(opts, RSTART + 10, RLENGTH - 10)
      types = want; uris = $i; suites = $(i + 1)
      for (j = i + 2; j <= NF; j++) comps = comps " " $j
      flush()
    }
    END { flush() }' "${apt_lists[@]}" /dev/null
}


# deb_src_stanza SUITE [APT_DIR]: prints the deb822 stanza of a deb-src entry
# for SUITE main, with the addresses and keyring of the machine's own deb
# entry for it; fails when there is no such deb entry.
deb_src_stanza() {
  local entry
  entry=$(main_entries deb "$1" "${2:-}" | head -1)
  [ -n "$entry" ] || return 1
  echo "Types: deb-src"
  echo "URIs: ${entry%%|*}"
  echo "Suites: $1"
  echo "Components: main"
  [ -z "${entry#*|}" ] || echo "Signed-By: ${entry#*|}"
}
