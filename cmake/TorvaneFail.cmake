# Fails with a message: for a test or a target that cannot run here, saying
# why.
#
#   cmake -DTORVANE_FAILURE=text -P TorvaneFail.cmake
message(FATAL_ERROR "${TORVANE_FAILURE}")
