import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.applet.AudioClip;
import java.awt.Image;
import java.awt.Toolkit;
import java.io.File;
import java.io.InputStream;
import java.net.MalformedURLException;
import java.net.URL;
import java.util.Collections;
import java.util.Enumeration;
import java.util.HashMap;
import java.util.Iterator;
import java.util.Map;

/**
 * Hosts the applet as a browser hosts it on album page N: code base ./PhotoAlbum and
 * the four parameters the page passes, which a test may change.
 */
@SuppressWarnings("removal")
final class AlbumPageStub implements AppletStub, AppletContext {
  final Map<String, String> parameters = new HashMap<String, String>();
  private final AlbumSite site_;
  private final int album_;

  AlbumPageStub(AlbumSite site, int album) {
    site_ = site;
    album_ = album;
    parameters.put("index_file", "index/album-" + album + ".dat");
    parameters.put("image_base", "images/album-" + album);
    parameters.put("frame_bg_color", "00CCFF");
    parameters.put("text_prompt_color", "0000FF");
  }

  @Override public boolean isActive() { return true; }

  @Override
  public URL getDocumentBase() {
    return url(new File(site_.root, "album-" + album_ + ".htm"));
  }

  @Override
  public URL getCodeBase() {
    return url(site_.codeBase);
  }

  @Override public String getParameter(String name) { return parameters.get(name); }
  @Override public AppletContext getAppletContext() { return this; }
  @Override public void appletResize(int width, int height) {}

  @Override public AudioClip getAudioClip(URL url) { return null; }
  @Override public Image getImage(URL url) { return Toolkit.getDefaultToolkit().createImage(url); }
  @Override public Applet getApplet(String name) { return null; }
  @Override public Enumeration<Applet> getApplets() { return Collections.enumeration(Collections.<Applet>emptyList()); }
  @Override public void showDocument(URL url) {}
  @Override public void showDocument(URL url, String target) {}
  @Override public void showStatus(String status) {}
  @Override public void setStream(String key, InputStream stream) {}
  @Override public InputStream getStream(String key) { return null; }
  @Override public Iterator<String> getStreamKeys() { return Collections.<String>emptyList().iterator(); }

  private static URL url(File file) {
    try {
      // A folder's URL ends in "/", so relative parameters resolve inside it.
      return file.toURI().toURL();
    } catch (MalformedURLException e) {
      throw new IllegalStateException(e);
    }
  }
}
