#!/usr/bin/env bash
# The Windows metafile tests on a machine without libwmf's fonts: the folder
# libwmf looks for them in is hidden under an empty one, in a mount namespace
# of this test alone. A metafile that writes no text must decode all the same.
# Needs root for the namespace; elsewhere it reports itself skipped.
set -euo pipefail
test_qt=$1
fonts=/usr/share/fonts/type1/urw-base35
if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null || ! unshare -m true 2>/dev/null; then
  echo "skipped: hiding the fonts needs root and a mount namespace"
  exit 77
fi
exec unshare -m bash -c "
  mkdir -p '$fonts' && mount -t tmpfs korval-no-fonts '$fonts' &&
  QT_QPA_PLATFORM=offscreen '$test_qt' --gtest_filter='QtPictureDecoderTest.WindowsMetafile*'"
