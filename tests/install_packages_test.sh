#!/usr/bin/env bash
# tools/install-packages against stand-in apt-get, dpkg-query and sleep on PATH
# that fail the way the package mirror did on 2026-12-09: the security suite's
# i386 list cut short mid-sync, and then an install of wine32:i386 with unmet
# dependencies unless the release itself is the target. Then
# tools/wine32-through-qemu against a stand-in binfmt_misc and wine32.
set -u
installer=$(cd "$(dirname "$0")/.." && pwd)/tools/install-packages
through_qemu=$(cd "$(dirname "$0")/.." && pwd)/tools/wine32-through-qemu
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
failures=0
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

# A stand-in world in a scratch folder. MIRROR says how apt-get behaves:
#   update:  "fails" (every time), "once" (the first time only) or "works"
#   install: "target" (only with -t <release>), "never" or "works"
world() {
    dir=$(mktemp -d)
    mkdir "$dir/bin"
    : >"$dir/installed"
    cat >"$dir/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "\$*" >>"$dir/calls"
case \$1 in
update)
    if [ "$1" = fails ] || { [ "$1" = once ] && [ ! -e "$dir/updated-once" ]; }; then
        touch "$dir/updated-once"
        echo "Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
        echo "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]"
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100
    fi
    exit 0 ;;
install)
    shift
    target=
    packages=()
    while [ \$# -gt 0 ]; do
        case \$1 in
        -t) target=\$2; shift 2 ;;
        -*) shift ;;
        *) packages+=("\$1"); shift ;;
        esac
    done
    if [ "$2" = never ] || { [ "$2" = target ] && [ "\$target" != "$codename" ]; }; then
        echo "The following packages have unmet dependencies:"
        echo " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
    fi
    printf '%s\n' "\${packages[@]}" >>"$dir/installed"
    exit 0 ;;
esac
exit 1
EOF
    cat >"$dir/bin/dpkg-query" <<EOF
#!/usr/bin/env bash
grep -qxF -- "\${@: -1}" "$dir/installed" || exit 1
echo "install ok installed"
EOF
    printf '#!/bin/sh\necho "sleep $*" >>"%s/calls"\n' "$dir" >"$dir/bin/sleep"
    chmod +x "$dir/bin/"*
    echo "$dir"
}
run() {  # run DIR PACKAGE...: the installer's status, output in DIR/out
    local dir=$1
    shift
    PATH="$dir/bin:$PATH" TMPDIR="$dir" "$installer" "$@" >"$dir/out" 2>&1
}
absent() { ! grep -q "$1" "$2"; }
count() { grep -c "^$2" "$1/calls"; }

# The mirror as it was: every update fails on one list, the plain install fails.
dir=$(world fails target)
run "$dir" wine wine32:i386 wine64
status=$?
check "installs on the day the mirror was mid-sync" [ $status -eq 0 ]
check "the update is tried three times" [ "$(count "$dir" update)" -eq 3 ]
check "a warning says the lists still fail, quoting apt" grep -q 'WARNING: some package lists.*Mirror sync in progress' <(tr '\n' ' ' <"$dir/out")
check "the install is retried with the release as target" grep -qx "install -y -q --no-install-recommends -t $codename wine wine32:i386 wine64" "$dir/calls"
check "the retry is said" grep -q "apt-get install -t $codename" "$dir/out"
check "every package ends installed" [ "$(sort "$dir/installed" | tr '\n' ' ')" = "wine wine32:i386 wine64 " ]
rm -rf "$dir"

# A list that fails once and then downloads: no warning, one install.
dir=$(world once works)
run "$dir" cmake
check "a passing second update carries on quietly" [ $? -eq 0 ]
check "the second update is the last" [ "$(count "$dir" update)" -eq 2 ]
check "no warning when the lists came through" absent WARNING "$dir/out"
check "one install when it works" [ "$(count "$dir" install)" -eq 1 ]
rm -rf "$dir"

# Packages that cannot be had at all: a failure that names them and the log.
dir=$(world works never)
run "$dir" wine32:i386 wine64
status=$?
check "fails when the packages cannot be installed" [ $status -ne 0 ]
check "the failure names the packages and the log" grep -q "FAILED: cannot install wine32:i386 wine64 (apt-get's log: $dir/sinewrig-apt.log)" "$dir/out"
check "the install is tried twice, not more" [ "$(count "$dir" install)" -eq 2 ]
rm -rf "$dir"

# Nothing to install: apt-get is not run.
dir=$(world fails never)
run "$dir"
check "nothing asked, nothing run" [ ! -e "$dir/calls" ]
rm -rf "$dir"

# wine32 through qemu. On top of the world above, a stand-in binfmt_misc
# folder whose `register` a stand-in tee turns into the handler file, as the
# kernel does, and a stand-in wine32 that runs when KERNEL is "runs32" or
# the handler is enabled. KERNEL: "runs32" or "64only"; REGISTRATION: "takes"
# or "ignored"; HANDLER at the start: "none" or "disabled".
qemu_world() {  # qemu_world KERNEL REGISTRATION HANDLER
    dir=$(world works works)
    mkdir "$dir/binfmt"
    : >"$dir/binfmt/register"
    [ "$3" = disabled ] && printf 'disabled\ninterpreter /usr/bin/qemu-i386-static\n' >"$dir/binfmt/qemu-i386"
    cat >"$dir/bin/tee" <<EOF
#!/usr/bin/env bash
input=\$(cat)
echo "tee \$1 \$input" >>"$dir/calls"
case \$1 in
*/register) [ "$2" = takes ] && printf 'enabled\ninterpreter %s\n' "\$(echo "\$input" | awk -F: '{ print \$(NF - 1) }')" >"$dir/binfmt/qemu-i386" ;;
*/qemu-i386) [ "\$input" = 1 ] && sed -i 1s/.*/enabled/ "\$1" ;;
esac
exit 0
EOF
    cat >"$dir/bin/wine32" <<EOF
#!/usr/bin/env bash
[ "$1" = runs32 ] || [ "\$(head -n 1 "$dir/binfmt/qemu-i386" 2>/dev/null)" = enabled ]
EOF
    chmod +x "$dir/bin/"*
    echo "$dir"
}
run_through_qemu() {  # run_through_qemu DIR FORCE: the script's status, output in DIR/out
    PATH="$1/bin:$PATH" TMPDIR="$1" SINEWRIG_BINFMT_MISC="$1/binfmt" SINEWRIG_WINE32="$1/bin/wine32" \
        SINEWRIG_WINE32_THROUGH_QEMU=$2 "$through_qemu" >"$1/out" 2>&1
}
handler_line() { head -n 1 "$1/binfmt/qemu-i386" 2>/dev/null; }

# Forced on a kernel that runs 32-bit programs itself: qemu installed and registered.
dir=$(qemu_world runs32 takes none)
run_through_qemu "$dir" 1
check "forcing qemu on a 32-bit capable kernel succeeds" [ $? -eq 0 ]
check "forcing says so" grep -q "SINEWRIG_WINE32_THROUGH_QEMU=1" "$dir/out"
check "forcing installs qemu-user-static" grep -qx qemu-user-static "$dir/installed"
check "forcing registers qemu-i386-static once, opened at registration" \
    [ "$(grep -c ':qemu-i386:M::.*:/usr/bin/qemu-i386-static:F$' "$dir/calls")" -eq 1 ]
check "the forced handler ends enabled" [ "$(handler_line "$dir")" = enabled ]
rm -rf "$dir"

# Not forced on the same kernel: nothing installed, nothing registered.
dir=$(qemu_world runs32 takes none)
run_through_qemu "$dir" 0
check "a 32-bit capable kernel needs nothing" [ $? -eq 0 ]
check "nor is anything run for it" [ ! -e "$dir/calls" ]
rm -rf "$dir"

# A kernel without 32-bit support: the same registration, unasked.
dir=$(qemu_world 64only takes none)
run_through_qemu "$dir" 0
check "a 64-bit-only kernel runs wine32 through qemu" [ $? -eq 0 ]
check "and says why" grep -q "cannot run 32-bit programs" "$dir/out"
check "its handler ends enabled" [ "$(handler_line "$dir")" = enabled ]
rm -rf "$dir"

# A handler registered before and disabled since: enabled, not registered again.
dir=$(qemu_world 64only takes disabled)
run_through_qemu "$dir" 1
status=$?
check "a disabled handler is enabled again" [ $status -eq 0 ]
check "it ends enabled" [ "$(handler_line "$dir")" = enabled ]
check "and is not registered twice" absent "/register" "$dir/calls"
rm -rf "$dir"

# A registration the kernel ignores fails, naming the handler, even where wine32 runs natively.
dir=$(qemu_world runs32 ignored none)
run_through_qemu "$dir" 1
check "a registration that did not take fails" [ $? -ne 0 ]
check "naming the handler file" grep -q "FAILED: the qemu-i386 handler did not take: $dir/binfmt/qemu-i386" "$dir/out"
rm -rf "$dir"

echo "$failures failed"
[ $failures -eq 0 ]
