# Filled in as this concern lands.
