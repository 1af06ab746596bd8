// One whole run of the program in a host folder of its own, for the fuzz
// targets: start-up, a small preview, the assignment, NC generation and the
// hand-back, on files the fuzzer chose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "checks.h"

namespace makenc::fuzz {

// The five templates and the settings of the bundled example, as the host
// folder holds them before the fuzzer replaces one of them.
struct HostFiles {
  std::string jwc_temp;
  std::string set_ini;
  std::string head, foot, sta_cut, sta_mark, end;
};

// The bundled example's files.
HostFiles example_files();

// Writes `files` into a fresh host folder (on a memory file system where
// there is one), runs the program's stages as the batch mode does and
// checks what must hold whatever the input: a run that stops leaves
// "JWC_TEMP.TXT" exactly as written, and a run that ends well has handed
// it back and removed the working copy. Aborts when that fails. With
// `own_motion_lines` every line of the program that starts with a motion
// word and is not a condition code the user typed comes from the drawing
// (the templates hold none), so it must hold nothing but words and plain
// decimal numbers: never "nan", "inf" or an exponent.
void run_host(const HostFiles& files, bool own_motion_lines);

}  // namespace makenc::fuzz
