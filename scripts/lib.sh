# What the scripts share: installing the Debian packages they need, a configured build's
# version, starting sapsim and reading its ports, writing a profile with sapprofile.
# Sourced (". scripts/lib.sh") by scripts/demo, scripts/test, scripts/test-windows,
# scripts/package and bench/run; it sets no shell options of its own.
# shellcheck shell=bash disable=SC2034  # the variables it sets are its callers'

# What every build of the programs needs; scripts/test adds what its stages need.
BUILD_PACKAGES=(cmake ninja-build g++ libasio-dev nlohmann-json3-dev libcli11-dev)

# Installs those of the Debian packages named that are missing (as root).
ensure_packages() {  # PACKAGE...
  local package missing=()
  for package; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  echo "== installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# The version of the programs in a configured build directory (CMake writes it there).
project_version() {  # BUILD_DIR
  [[ -s $1/version.txt ]] || {
    echo "$1/version.txt is missing: configure $1 with cmake first" >&2
    return 1
  }
  cat "$1/version.txt"
}

# Starts sapsim as a coprocess that serves as long as its standard input stays open, and reads
# its "NAME HOST:PORT" lines up to "ready" (60 seconds at most; a program under Wine ends its
# lines with CR LF). Afterwards SAPSIM_PORTS maps each system's name to its port, SAPSIM_LINES
# holds the lines as printed, and stop_sapsim ends it. Standard error comes along, so that
# what stopped it shows in the message.
start_sapsim() {  # COMMAND... (the native sapsim, or wine64 and sapsim.exe, and its arguments)
  declare -gA SAPSIM_PORTS=()
  SAPSIM_LINES=()
  coproc SAPSIM { exec "$@" 2>&1; }
  # Bash forgets both once the coprocess ends, and closes its output: a copy of that keeps what
  # a sapsim that could not start printed.
  SAPSIM_RUNNING=$SAPSIM_PID SAPSIM_INPUT=${SAPSIM[1]}
  local output line='' system='^([^ ]+) [^ ]+:([0-9]+)$'
  exec {output}<&"${SAPSIM[0]}"
  while read -r -t 60 line <&"$output"; do
    line=${line%$'\r'}
    if [[ $line == ready ]]; then
      exec {output}<&-
      return 0
    fi
    SAPSIM_LINES+=("$line")
    [[ $line =~ $system ]] && SAPSIM_PORTS[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
  done
  exec {output}<&-
  echo "sapsim did not get ready; it printed: ${SAPSIM_LINES[*]} $line" >&2
  stop_sapsim || true
  return 1
}

# Closes sapsim's standard input and waits for it to end (30 seconds, then it is killed);
# returns its exit code.
stop_sapsim() {
  exec {SAPSIM_INPUT}>&-
  timeout 30 tail --pid="$SAPSIM_RUNNING" -f /dev/null || kill "$SAPSIM_RUNNING" 2>/dev/null
  local code=0
  wait "$SAPSIM_RUNNING" 2>/dev/null || code=$?
  return "$code"
}

# Writes a profile for a system that sapsim serves on loopback, with the logon the sample
# systems accept (client 100, user MONITOR, password "secret"). The sapprofile command comes
# first: the native program, or wine64 and sapprofile.exe.
write_profile() {  # SAPPROFILE... -- FILE DESTINATION PORT
  local command=()
  while (($#)) && [[ $1 != -- ]]; do
    command+=("$1")
    shift
  done
  shift
  echo secret | "${command[@]}" write "$1" --company ACME --destination "$2" --client 100 \
    --user monitor --language E --mode R/3 --host 127.0.0.1 --sysnr 00 --gwhost 127.0.0.1 \
    --gwservice "$3" >/dev/null
}
