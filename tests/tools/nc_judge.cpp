// nc_judge: judges an NC program against the drawing of its host folder and
// prints one line per fault ("kind layer contour x y", then what is wrong)
// and the count of each kind. Exits 0 whatever it finds; 2 when the folder,
// the drawing or the program cannot be read.
//
//   nc_judge [--no-outline] [--nested] [--edge] [--layers 0,2] [--drawing FILE] HOST_FOLDER [NC_FILE]
//
// Without NC_FILE the one program in HOST_FOLDER/Zemlak is judged. Give the
// options the program was made with: --no-outline leaves the outline uncut,
// with --nested it is the sheet's edge and not material, and --layers ticks
// layers as the run did. --edge takes the outline as a nested sheet's edge
// whatever the run was told (a nested sheet run as a plate). A run hands
// the interchange file back in place of the drawing: keep a copy of the
// drawing before the run and name it with --drawing.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "judge/nc_judge.h"

namespace fs = std::filesystem;

namespace {

int usage(const std::string& why) {
  std::cerr << "nc_judge: " << why
            << "\nusage: nc_judge [--no-outline] [--nested] [--edge] [--layers 0,2] [--drawing FILE] "
               "HOST_FOLDER [NC_FILE]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> run_args, files;
  bool edge = false;
  fs::path drawing;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--no-outline" || arg == "--nested") {
      run_args.push_back(arg);
    } else if (arg == "--edge") {
      edge = true;
    } else if (arg == "--drawing") {
      if (k + 1 == argc) return usage("--drawing needs the interchange file as the host wrote it");
      drawing = argv[++k];
    } else if (arg == "--layers") {
      if (k + 1 == argc) return usage("--layers needs layers such as 0,2");
      run_args.push_back(arg);
      run_args.push_back(argv[++k]);
    } else if (arg.rfind("--", 0) == 0) {
      return usage("unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty() || files.size() > 2) return usage("name the host folder, and the program if need be");
  makenc::JudgeOptions options = makenc::judge_options_of(run_args);
  options.edge = options.edge || edge;
  options.drawing_file = drawing;
  const fs::path folder = files[0];
  fs::path nc = files.size() == 2 ? fs::path(files[1]) : fs::path();
  if (nc.empty()) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder / "Zemlak", ec))
      if (entry.is_regular_file() && entry.path().extension() == ".nc") {
        if (!nc.empty()) return usage("more than one program in " + (folder / "Zemlak").string());
        nc = entry.path();
      }
    if (nc.empty()) return usage("no program in " + (folder / "Zemlak").string());
  }
  auto judgement = makenc::judge_nc_program(folder, nc, options);
  if (!judgement) {
    std::cerr << "nc_judge: " << judgement.error().message << "\n";
    return 2;
  }
  std::cout << judgement->report() << "cuts " << judgement->cuts << ", marks " << judgement->marks << "\n";
  return 0;
}
