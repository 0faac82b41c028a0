# The directory check's fixture tree, made on the Linux side because a
# dangling link cannot be made from inside Wine:
#   docs/a.txt (5 bytes), docs/deeper/b.txt (3 bytes), big.bin (5 GiB,
#   sparse, so it costs no disk), dangling -> nowhere.
# Usage: cmake -DTREE=<folder> -P make_dir_tree.cmake
file(REMOVE_RECURSE ${TREE})
file(MAKE_DIRECTORY ${TREE}/docs/deeper)
file(WRITE ${TREE}/docs/a.txt "hello")
file(WRITE ${TREE}/docs/deeper/b.txt "abc")
file(WRITE ${TREE}/big.bin "")
execute_process(COMMAND truncate -s 5G ${TREE}/big.bin COMMAND_ERROR_IS_FATAL ANY)
file(CREATE_LINK nowhere ${TREE}/dangling SYMBOLIC)
