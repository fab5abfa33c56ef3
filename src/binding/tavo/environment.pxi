# The process-wide environment of the package, taken here once: the host's
# cf, pd and ih are its clock, a store over it and its hands, and every
# collection, time helper and store the package creates is given it.
from collection_users_api cimport CppPickleDump

cdef Environment* package_environment = &create_package_environment()
cdef shared_ptr[CppPickleDump] package_store = make_shared[CppPickleDump](package_environment[0])
