# Included by the top-level CMakeLists before any target when RELETTRA_FUZZ is on: every library
# is compiled with libFuzzer's coverage and with AddressSanitizer and UndefinedBehaviorSanitizer,
# so a fault anywhere in the layer a target links is found, not only in the target's own file.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "RELETTRA_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang-14 "
                      "-DCMAKE_CXX_COMPILER=clang++-14 (Debian packages clang-14, libclang-rt-14-dev)")
endif()
add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer
                    -fno-sanitize-recover=all)
add_link_options(-fsanitize=address,undefined)
