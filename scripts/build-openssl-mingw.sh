#!/usr/bin/env bash
# Builds OpenSSL's DLLs for Windows from Debian's source package, so the Windows program
# ships Debian's OpenSSL with its security fixes.
#
# Usage: scripts/build-openssl-mingw.sh [--arch i686|x86_64]
#   i686 (the default, the product): libssl-3.dll and libcrypto-3.dll
#   x86_64 (the 64-bit test build):  libssl-3-x64.dll and libcrypto-3-x64.dll, as
#                                    OpenSSL names them there
# Output: ${DOSTRA_CACHE:-$HOME/.cache/dostra}/openssl-mingw-<source version>/ (i686) or
# openssl-mingw-x86_64-<source version>/ holding the two DLLs and LICENSE.txt; a folder
# that is already complete is reused without building. The last line printed is that folder.
set -euo pipefail

arch=i686
while (($#)); do
  case "$1" in
    --arch)
      arch=${2:-}
      shift 2 || true
      ;;
    --arch=*)
      arch=${1#--arch=}
      shift
      ;;
    *)
      printf 'usage: %s [--arch i686|x86_64]\n' "$0" >&2
      exit 2
      ;;
  esac
done
case "$arch" in
  i686)
    configure_target=mingw dll_suffix="" folder_prefix=openssl-mingw
    cross_package=g++-mingw-w64-i686
    ;;
  x86_64)
    configure_target=mingw64 dll_suffix=-x64 folder_prefix=openssl-mingw-x86_64
    cross_package=g++-mingw-w64-x86-64
    ;;
  *)
    printf 'unknown architecture "%s"; use i686 or x86_64\n' "$arch" >&2
    exit 2
    ;;
esac

cache_root="${DOSTRA_CACHE:-$HOME/.cache/dostra}"
cross_prefix="$arch-w64-mingw32-"
package="openssl"

log() { printf '%s\n' "$*" >&2; }

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi

# apt-get source needs deb-src lines; Debian 12 keeps its archives in deb822 form, so a
# separate file mirrors them with Types: deb-src and leaves the system's file untouched.
ensure_source_entries() {
  if grep -Eqs '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    return 1
  fi
  local system_file=/etc/apt/sources.list.d/debian.sources
  if [[ ! -f $system_file ]]; then
    log "no deb-src entry and no $system_file to derive one from; add a deb-src entry by hand"
    exit 1
  fi
  log "adding deb-src entries in /etc/apt/sources.list.d/dostra-deb-src.sources"
  sed -e 's/^Types:.*$/Types: deb-src/' "$system_file" |
    $sudo tee /etc/apt/sources.list.d/dostra-deb-src.sources >/dev/null
  return 0
}

# The source versions apt knows of, newest first; nothing when its source lists are missing.
source_versions() {
  apt-cache showsrc --only-source "$package" 2>/dev/null | sed -n 's/^Version: //p' |
    sort -u | sort -r -V
}

dlls=("libssl-3$dll_suffix.dll" "libcrypto-3$dll_suffix.dll")
outputs=("${dlls[@]}" LICENSE.txt)

complete() {
  local name
  for name in "${outputs[@]}"; do
    [[ -s $1/$name ]] || return 1
  done
}

# An epoch's colon is not welcome in Windows-shared folders. The i686 folder keeps the
# name it had before there were two architectures.
output_dir_of() { printf '%s/%s-%s' "$cache_root" "$folder_prefix" "${1//:/_}"; }

if ensure_source_entries; then
  $sudo apt-get update -q >&2
fi
mapfile -t versions < <(source_versions)
if [[ ${#versions[@]} -eq 0 ]]; then
  $sudo apt-get update -q >&2
  mapfile -t versions < <(source_versions)
fi
if [[ ${#versions[@]} -eq 0 ]]; then
  log "apt knows no source package '$package'"
  exit 1
fi

mkdir -p "$cache_root"
# Two runs at once would unpack into the same folders.
exec 9>"$cache_root/.openssl-mingw.lock"
flock 9

# The newest version wins; a mirror can list a version whose files it lacks (seen with
# the security archive), so older ones are tried in turn.
version=""
dsc=""
for candidate in "${versions[@]}"; do
  out_dir=$(output_dir_of "$candidate")
  if complete "$out_dir"; then
    log "OpenSSL $candidate for $arch Windows already built"
    printf '%s\n' "$out_dir"
    exit 0
  fi
  source_dir="$cache_root/openssl-source-${candidate//:/_}"
  dsc="$source_dir/${package}_${candidate#*:}.dsc"
  if [[ -f $dsc ]]; then
    version=$candidate
    break
  fi
  # A failed fetch is not retried for a day, so cached runs stay quick.
  unfetchable="$source_dir.unfetchable"
  if [[ -n $(find "$unfetchable" -mmin -1440 2>/dev/null) ]]; then
    log "skipping $package $candidate: its source could not be fetched earlier today"
    continue
  fi
  log "downloading the source of $package $candidate"
  partial="$source_dir.partial"
  rm -rf "$partial"
  mkdir -p "$partial"
  if (cd "$partial" && apt-get source -q --download-only "$package=$candidate" >&2); then
    rm -rf "$source_dir"
    mv "$partial" "$source_dir"
    version=$candidate
    break
  fi
  rm -rf "$partial"
  touch "$unfetchable"
  log "the source of $package $candidate could not be fetched; trying an older one"
done
if [[ -z $version ]]; then
  log "no version of the source of '$package' could be fetched"
  exit 1
fi
out_dir=$(output_dir_of "$version")
upstream_version=${version#*:}
upstream_version=${upstream_version%-*}

work_dir=$(mktemp -d "$cache_root/openssl-build.XXXXXX")
trap 'rm -rf "$work_dir"' EXIT

# dpkg-source unpacks the upstream tarball and applies the Debian patch series.
log "unpacking with Debian's patches"
dpkg-source --no-check -x "$dsc" "$work_dir/src" >&2
cd "$work_dir/src"
# Except one: pic.patch makes the x86 assembly reach DES through the ELF GOT and PLT,
# which a Windows (COFF) object cannot express; the assembler rejects it.
if [[ -f debian/patches/pic.patch ]]; then
  log "reverting debian/patches/pic.patch (ELF only)"
  patch -R -p1 -s <debian/patches/pic.patch
fi

if ! command -v "${cross_prefix}gcc" >/dev/null; then
  log "${cross_prefix}gcc is missing ($cross_package)"
  exit 1
fi

# OpenSSL reads its configuration, engines and modules from folders fixed at build time.
# The default /usr/local/ssl becomes \usr\local\ssl on the current drive under Windows,
# which any user may create; a folder under System32 is writable by administrators only.
# (Both mingw targets link libgcc statically by themselves, so only system DLLs are imported.)
log "configuring OpenSSL $upstream_version for $configure_target"
./Configure "$configure_target" shared no-tests --cross-compile-prefix="$cross_prefix" \
  --prefix=C:/Windows/System32/OpenSSL --libdir=lib >&2
log "building (make -j2 build_libs)"
make -j2 build_libs >"$work_dir/build.log" 2>&1 || {
  tail -n 40 "$work_dir/build.log" >&2
  exit 1
}

staging="$work_dir/out"
mkdir -p "$staging"
cp "${outputs[@]}" "$staging/"
"${cross_prefix}strip" --strip-unneeded "$staging"/*.dll

for dll in "$staging"/*.dll; do
  log "$(basename "$dll") imports: $("${cross_prefix}objdump" -p "$dll" |
    sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u | tr '\n' ' ')"
done

rm -rf "$out_dir"
mv "$staging" "$out_dir"
printf '%s\n' "$out_dir"
