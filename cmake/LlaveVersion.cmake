# Llave's version: the program's, its packages' and that of the library package
# "llave". Read by the top-level project and by core/, which is also a project
# of its own (alone, or inside another project).
set(LLAVE_VERSION 0.1.0)
