# shellcheck shell=bash
# Sourced by test and fuzz: how the sanitizers report. Any report ends the program with a
# failure (the build sets -fno-sanitize-recover=all for UBSan), with a symbolized stack.
# Leaks are looked for too (no suppressions: the suite and the fuzz targets leak nothing, Qt
# included). Options already set by the caller come last, so they win.
export ASAN_SYMBOLIZER_PATH="${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer || true)}"
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
