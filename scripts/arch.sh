#!/usr/bin/env bash
# Prints the Windows architecture the tests can run here: i686 where this
# kernel runs 32-bit programs, x86_64 where it does not.
# NOTE: some kernels here boot with 32-bit emulation disabled; 32-bit Wine
# then fails with "Exec format error", so the same sources are built and
# tested as 64-bit Windows programs instead.
set -euo pipefail
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# A minimal 32-bit ELF program that only calls exit(0).
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00' >>"$probe"
printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
chmod +x "$probe"
if "$probe" 2>/dev/null; then echo i686; else echo x86_64; fi
