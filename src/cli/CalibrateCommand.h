#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// `korval calibrate --printer NAME | --pdf OUT --forms DIR --format NAME
// [--offset X,Y]`: prints the calibration sheet of the stored format on the
// printer: a cross at every label corner and millimetre rulers from the
// paper's edge. With --offset the printer's offset (millimetres, right and
// down, negative left and up) is stored in etikety.ini first, so that the
// sheet shows it at work; --offset 0,0 removes it.
int RunCalibrateCommand(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err);

}  // namespace korval::cli
