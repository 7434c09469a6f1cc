/* A libcurl.so.4 that offers none of libcurl's functions: what the network commands meet when the
   library on the machine is missing or broken. */
int quarvel_no_network_library;
