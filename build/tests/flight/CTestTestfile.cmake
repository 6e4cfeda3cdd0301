# CMake generated Testfile for 
# Source directory: /work/main/tests/flight
# Build directory: /work/main/build/tests/flight
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[flight_tests]=] "/work/main/build/tests/flight/flight_tests")
set_tests_properties([=[flight_tests]=] PROPERTIES  LABELS "core" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/tests/CMakeLists.txt;16;add_test;/work/main/tests/flight/CMakeLists.txt;1;lumo_add_test;/work/main/tests/flight/CMakeLists.txt;0;")
