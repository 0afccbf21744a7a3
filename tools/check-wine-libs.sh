#!/usr/bin/env bash
# Checks that the shared libraries Wine opens by name at run time are present
# for both of its architectures: GL (without libGL every GL program ends before
# its window opens), GStreamer with what MP3 playback through MCI needs, ALSA,
# fonts and the X extensions. Wine loads them with dlopen, so package
# dependencies do not guarantee them. Looks for the files themselves rather
# than running 32-bit code, which some kernels cannot execute.
# Prints each missing file and exits 1 if any is missing.
# SKYLINER_LIB_ROOT replaces /usr/lib (to check another tree).
set -uo pipefail
root=${SKYLINER_LIB_ROOT:-/usr/lib}

libs=(libGL.so.1 libGLX_mesa.so.0 dri/swrast_dri.so
  libgstreamer-1.0.so.0
  gstreamer-1.0/libgstmpg123.so gstreamer-1.0/libgstaudioparsers.so
  gstreamer-1.0/libgstplayback.so gstreamer-1.0/libgstaudioconvert.so gstreamer-1.0/libgstaudioresample.so
  libasound.so.2 libfreetype.so.6 libfontconfig.so.1
  libX11.so.6 libXext.so.6 libXrandr.so.2 libXrender.so.1 libXcursor.so.1 libXi.so.6
  libXinerama.so.1 libXcomposite.so.1 libXfixes.so.3 libXxf86vm.so.1
  libdbus-1.so.3 libgnutls.so.30)

missing=0
for arch in i386-linux-gnu x86_64-linux-gnu; do
  for lib in "${libs[@]}"; do
    if [ ! -e "$root/$arch/$lib" ]; then
      echo "missing: $root/$arch/$lib"
      missing=$((missing + 1))
    fi
  done
done
if [ "$missing" -gt 0 ]; then
  echo "check-wine-libs: $missing of $((2 * ${#libs[@]})) libraries Wine needs are missing (tools/setup.sh installs the packages that hold them)"
  exit 1
fi
echo "check-wine-libs: all ${#libs[@]} libraries present for i386 and amd64"
