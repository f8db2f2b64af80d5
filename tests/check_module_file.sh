#!/bin/sh
# Checks what the host sees of a module file: its format, that it exports
# exactly _mod_descrip, and (Windows) that it needs only Windows system DLLs.
#   tests/check_module_file.sh pe32|pe32+|elf FILE
set -u
kind=$1 file=$2
fail() { echo "FAIL: $file: $*"; exit 1; }
[ -f "$file" ] || fail "no such file"

case $kind in
pe32|pe32+)
  if [ "$kind" = pe32 ]; then
    objdump=i686-w64-mingw32-objdump format=pei-i386 magic='010b[[:space:]]+\(PE32\)' what="PE32 (i386)"
  else
    objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 magic='020b[[:space:]]+\(PE32\+\)' what="PE32+ (x86-64)"
  fi
  dump=$($objdump -p "$file") || fail "objdump cannot read it"
  echo "$dump" | grep -q "file format $format\$" || fail "not a $what image"
  echo "$dump" | grep -Eq "^Magic[[:space:]]+$magic" || fail "not a $what image (optional header magic)"
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
  echo "$what DLL; exports: $exports; imports: $(echo $imports)"
  ;;
elf)
  exports=$(nm -D --defined-only "$file" | awk '{print $NF}')
  [ "$exports" = "_mod_descrip" ] || fail "exports are [$exports], want exactly _mod_descrip"
  echo "shared object; exports: $exports"
  ;;
*) fail "unknown kind $kind" ;;
esac
