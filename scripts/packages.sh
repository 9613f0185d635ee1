# Debian packages the build, the tests (clang and its sanitizer and libFuzzer
# runtimes for the fuzz harnesses, clang-format for the format check), the
# benchmarks (the reference ephemeris library the engine is timed against) and
# the program need. Sourced by ./test and ./run.
HORARY_PACKAGES=(
  g++ cmake make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev qt6-translations-l10n
  fonts-dejavu-core fonts-noto-core
  poppler-utils
  python3 tzdata
  libswe-dev
  clang libclang-rt-14-dev clang-format
)

ensure_packages() {
  local missing=()
  local p
  for p in "${HORARY_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}
