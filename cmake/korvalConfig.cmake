# find_package(korval) gives the imported target korval::korval: libkorval
# with its header, #include <korval/korval.h>.
include("${CMAKE_CURRENT_LIST_DIR}/korvalTargets.cmake")
