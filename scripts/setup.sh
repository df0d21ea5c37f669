# Shared by scripts/run, scripts/test and scripts/package: installs the
# Debian packages the build needs when any is missing, then configures and
# builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${PIPECALC_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  libsqlite3-dev sqlite3
  mdbtools-dev
  poppler-utils
  groff-base  # the tests format the manual pages
  fonts-liberation fonts-dejavu-core
)

# What scripts/test needs besides: LibreOffice, which reads the RTF the
# program writes as another word processor would.
TEST_PACKAGES=(libreoffice-writer-nogui)

# What scripts/package needs besides: CPack's dependency computation
# (dpkg-shlibdeps, file).
PACKAGING_PACKAGES=(dpkg-dev file)

# Installs what is missing of PACKAGES and of any packages named.
install_missing_packages() {
  local missing=()
  local pkg
  for pkg in "${PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures BUILD_DIR with any cmake options given, and builds.  Options
# not given keep the values the folder has: scripts/run and scripts/test
# share build/, so that neither compiles again what the other compiled.
configure_and_build() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
