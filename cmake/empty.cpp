// Nothing of its own: a stage library linked alone, to prove it needs no later stage.
