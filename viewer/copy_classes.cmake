# Copies the compiled viewer classes from STAGE to DEST after checking that javac
# produced exactly the EXPECTED class files (a ";"-separated list of file names).
file(GLOB produced RELATIVE ${STAGE} ${STAGE}/*.class)
set(expected ${EXPECTED})
list(SORT produced)
list(SORT expected)
if(NOT produced STREQUAL expected)
  message(FATAL_ERROR "The viewer must consist of exactly these classes: ${expected}\n"
                      "but the compiler produced: ${produced}\n"
                      "(nested, anonymous and extra classes are not copied into a site).")
endif()
file(MAKE_DIRECTORY ${DEST})
foreach(name ${expected})
  file(COPY ${STAGE}/${name} DESTINATION ${DEST})
endforeach()
