#!/bin/sh
# Checks that a built library exports the library's interface and nothing of its platform layer.
#   check-exports.sh x11 libznVelmora.so
#   check-exports.sh windows znVelmora.dll   (also prints and checks the PE machine type)
set -eu
kind=$1
library=$2

case "$kind" in
  windows)
    header=$(objdump -f "$library")
    echo "$header" | grep 'file format'
    case "$header" in
      *pei-i386*) expected=i386 ;;
      *pei-x86-64*) expected=x86-64 ;;
      *) echo "not a Windows DLL: $library"; exit 1 ;;
    esac
    echo "architecture $expected"
    symbols=$(objdump -p "$library" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
    ;;
  x11)
    symbols=$(nm -D --defined-only "$library")
    ;;
  *) echo "usage: $0 x11|windows LIBRARY"; exit 2 ;;
esac

status=0
for name in 15znRenderContext 9znVelmora 12znHiResTimer 14znGLBitmapFont 11znRenderEnv \
    17znExceptionHolderI18znContextExceptionE 17znExceptionHolderI17znRenderExceptionE \
    4znGL12hasGLContext 4znGL23isGLExtensionsSupported 4znGL18getMaxTextureUnits \
    4znGL20glPointParameterfARB 4znGL21glPointParameterfvARB 4znGL20glMultiTexCoord2fARB \
    4znGL18glActiveTextureARB 4znGL24glClientActiveTextureARB 4znGL15glBindBufferARB \
    4znGL15glGenBuffersARB 4znGL15glBufferDataARB 4znGL18wglSwapIntervalEXT \
    12znGetVersion 18znGetVersionString; do
  if ! echo "$symbols" | grep -q "$name"; then
    echo "missing export: $name"
    status=1
  fi
done
# The C interface under plain C names (no leading underscore, no @-size), and the existing C++
# start-up whose return type became bool under its old name.
for name in znvSetReportHandler znvManager_create znvManager_initializeOpenGL znvManager_renderFunc \
    znvManager_getGLExtension znvTimer_getFPS znvFont_printOverlay znvGL_glActiveTextureARB \
    znvGL_wglSwapIntervalEXT znvGetVersion znvGetVersionString \
    _ZN9znVelmora16initializeOpenGLEv _Z18znSetReportHandlerPFvPvPKcS1_jES_; do
  if ! echo "$symbols" | grep -qw -- "$name"; then
    echo "missing export: $name"
    status=1
  fi
done
if echo "$symbols" | grep -Eq -- '(_znv|znv[A-Za-z_]*@)'; then
  echo "C interface names are decorated"
  status=1
fi
for name in GetDC ReleaseDC ChoosePixelFormat wglCreateContext wglMakeCurrent wglGetProcAddress \
    QueryPerformanceCounter MessageBoxA CreateFontA _stricmp _ZTI13znGLFunctions; do
  if echo "$symbols" | grep -qw -- "$name"; then
    echo "platform symbol leaks out: $name"
    status=1
  fi
done
[ $status = 0 ] && echo "exports: library interface only"
exit $status
