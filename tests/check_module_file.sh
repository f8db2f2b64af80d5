#!/bin/sh
# Checks what the host sees of a module file: its format, that it exports
# exactly _mod_descrip, and (Windows) that it needs only Windows system DLLs.
set -u
kind=$1 file=$2
fail() { echo "FAIL: $file: $*"; exit 1; }
[ -f "$file" ] || fail "no such file"

case $kind in
pe32)
  dump=$(i686-w64-mingw32-objdump -p "$file") || fail "objdump cannot read it"
  echo "$dump" | grep -q 'file format pei-i386' || fail "not a PE32 (i386) image"
  echo "$dump" | grep -Eq 'Characteristics .*' || fail "no characteristics"
  echo "$dump" | grep -q 'DLL$' || echo "$dump" | grep -q '	DLL' || fail "not a DLL"
  exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed '1d;/^$/d' | awk '{print $NF}')
  [ "$exports" = "_mod_descrip" ] || fail "exports are [$exports], want exactly _mod_descrip"
  imports=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [ -n "$imports" ] || fail "no import table"
  for dll in $imports; do
    case $(echo "$dll" | tr 'A-Z' 'a-z') in
      kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll|ntdll.dll|ws2_32.dll|api-ms-win-*.dll) ;;
      *) fail "imports $dll, which is not a Windows system DLL" ;;
    esac
  done
  echo "PE32 DLL; exports: $exports; imports: $(echo $imports)"
  ;;
elf)
  exports=$(nm -D --defined-only "$file" | awk '{print $NF}')
  [ "$exports" = "_mod_descrip" ] || fail "exports are [$exports], want exactly _mod_descrip"
  echo "shared object; exports: $exports"
  ;;
*) fail "unknown kind $kind" ;;
esac
