# cmake -DSTAMP=<file> -DOUTPUTS=<file listing the outputs> -P CorvanthelisCheckOutputs.cmake
#
# Generated files are byproducts behind a stamp, so make would not notice one that went
# missing; dropping the stamp makes the next step regenerate them.
file(STRINGS "${OUTPUTS}" outputs)
foreach(output IN LISTS outputs)
  if(NOT EXISTS "${output}")
    file(REMOVE "${STAMP}")
    break()
  endif()
endforeach()
