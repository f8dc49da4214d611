# Sourced by the scripts that read the machine's own apt sources.

# Prints "URIS|SIGNED-BY" for each enabled entry of type $1 (deb or deb-src)
# that carries bookworm main, from one-line sources.list files and deb822
# .sources files.
bookworm_main_entries() {
  local f apt_lists=()
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && apt_lists+=("$f")
  done
  awk -v want="$1" '
    function flush() {
      if (types ~ "(^| )" want "( |$)" && suites ~ /(^| )bookworm( |$)/ &&
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

