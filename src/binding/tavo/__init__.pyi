# The package itself offers nothing but its modules, which have stubs of
# their own beside them.
