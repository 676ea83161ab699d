// Anchor for the support library while it has no other sources.
