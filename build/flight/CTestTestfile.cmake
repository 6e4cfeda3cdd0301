# CMake generated Testfile for 
# Source directory: /work/main/flight
# Build directory: /work/main/build/flight
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
